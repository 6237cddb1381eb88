#!/usr/bin/python3
"""The page's Japanese face: IPA P Mincho cut to the characters the game
draws, as the IPA Font License v1.0 lets a derived font be passed on.

    cut_font.py FONT CHARS_FILE OUT_DIR

OUT_DIR receives
    quellstorm.ttf    the cut, under names of its own: the licence forbids
                      the original's name (IPAPMincho, IPA P明朝) as the name
                      of a derived font
    LICENSE-IPA.txt   the licence, which the cut stays under
    README-font.txt   what the cut is and how to put the original back
"""
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Quellstorm Page Mincho"
POSTSCRIPT = "QuellstormPageMincho"
# Name records that name the font itself; the copyright, version and
# licence records stay as the original has them.
NAMING = {1, 3, 4, 6, 16, 17, 18, 21, 22}

README = """quellstorm.ttf: the Japanese face of the QUELLSTORM page

A derived program of IPA P Mincho (ipamp.ttf, version 003.03, as Debian's
package fonts-ipafont-mincho ships it), made by the build
(tools/web/cut_font.py, with fontTools' subsetter): only the characters the
game draws are kept, and the font carries the name "{family}"
instead of the original's. It is licensed under the IPA Font License
Agreement v1.0 (LICENSE-IPA.txt); the original is at
https://moji.or.jp/ipafont/ and in Debian's fonts-ipafont-mincho.

To put the original font back in place of the cut: copy ipamp.ttf over
font/quellstorm.ttf in the page's data (build-web/data/font/ in a build
of the game's source) and build the page again (make web). The game draws
the same texts with it; the page's data is larger.
"""


def licence_text():
    """The licence's text as Debian's copyright file of the font gives it."""
    path = "/usr/share/doc/fonts-ipafont-mincho/copyright"
    blocks, block = [], None
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.rstrip("\n") == "License: IPA-1":
                block = []
                blocks.append(block)
            elif block is not None and line.startswith(" "):
                text = line[1:].rstrip("\n")
                block.append("" if text == "." else text)
            else:
                block = None
    lines = max(blocks, key=len, default=[])
    if len(lines) < 50:
        sys.exit(f"cut_font: the IPA Font License text was not found in {path} (fonts-ipafont-mincho)")
    return "\n".join(lines).strip() + "\n"


def rename(font):
    table = font["name"]
    for rec in list(table.names):
        if rec.nameID in NAMING:
            table.removeNames(nameID=rec.nameID)
    for platform, encoding, lang in ((3, 1, 0x409),):
        for name_id, value in ((1, FAMILY), (3, POSTSCRIPT + " " + font["name"].getDebugName(5)),
                               (4, FAMILY), (6, POSTSCRIPT)):
            table.setName(value, name_id, platform, encoding, lang)


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: cut_font.py FONT CHARS_FILE OUT_DIR")
    src, chars, out = sys.argv[1:]
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    font = TTFont(src)
    with open(chars, encoding="utf-8") as f:
        text = f.read()
    cutter = subset.Subsetter(options)
    cutter.populate(text=text)
    cutter.subset(font)
    rename(font)
    os.makedirs(out, exist_ok=True)
    tmp = os.path.join(out, "quellstorm.ttf.tmp")
    font.save(tmp)
    os.replace(tmp, os.path.join(out, "quellstorm.ttf"))
    with open(os.path.join(out, "LICENSE-IPA.txt"), "w", encoding="utf-8") as f:
        f.write(licence_text())
    with open(os.path.join(out, "README-font.txt"), "w", encoding="utf-8") as f:
        f.write(README.format(family=FAMILY))


if __name__ == "__main__":
    main()
