#!/usr/bin/python3
"""Every text the game can draw has its letters in the browser build's cut
font; the pictures packed as PNG decode to the game's own 5-6-5 pixels
(read back through libpng by the asset generator, which wrote them).

    glyphs_test.py SRC_DIR WEB_DATA_DIR HOST_BUILD_DIR
"""
import os
import re
import subprocess
import sys

from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "web"))
import game_texts  # noqa: E402

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
    return ok


def font_cases(src, data):
    font = TTFont(os.path.join(data, "font", "quellstorm.ttf"))
    cmap = font.getBestCmap()
    texts = 0
    for path in game_texts.source_files(src):
        with open(path, encoding="utf-8") as f:
            for lit in game_texts.literals(f.read()):
                texts += 1
                missing = sorted(set(c for c in lit if ord(c) >= 0x20 and ord(c) not in cmap))
                check(not missing, f"{os.path.relpath(path, src)}: \"{lit}\" lacks {''.join(missing)!r} in the cut font")
    # The texts formatted at run time: numbers, names, the ASCII of any
    # language.
    ascii_missing = [chr(c) for c in range(0x20, 0x7F) if c not in cmap]
    check(not ascii_missing, f"printable ASCII missing from the cut font: {''.join(ascii_missing)!r}")
    # The scan itself must see the game's texts, or the check above proves
    # nothing.
    seen = game_texts.game_characters(src)
    for sample in ("操作説明", "エラー発生", "補正"):
        check(all(c in seen for c in sample), f"the text scan missed {sample!r}")
    # The cut is a derived font: the IPA Font License forbids the original's
    # name as its name, and it travels with the licence.
    names = [r.toUnicode() for r in font["name"].names if r.nameID in (1, 3, 4, 6, 16, 17)]
    check(names and not any("IPA" in n for n in names), f"the cut font still carries the original's name: {names}")
    check(os.path.exists(os.path.join(data, "font", "LICENSE-IPA.txt")), "the cut font's licence is not beside it")
    size = os.path.getsize(os.path.join(data, "font", "quellstorm.ttf"))
    check(size < 1024 * 1024, f"the cut font is {size} bytes; the cut did not happen")
    return texts


def picture_cases(data, host):
    tool = os.path.join(host, "tools", "assetgen", "qs_assetgen")
    n = 0
    for folder in ("BMP", "BG"):
        r = subprocess.run([tool, "--check-png", os.path.join(host, folder), os.path.join(data, folder)],
                           capture_output=True, text=True)
        for line in r.stderr.splitlines():
            check(False, line)
        check(r.returncode == 0, f"{folder}: the packed pictures are not the BMP files' (exit {r.returncode})")
        m = re.search(r": (\d+) pictures", r.stdout)
        n += int(m.group(1)) if m else 0
    check(n >= 70, f"only {n} pictures packed")
    return n


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: glyphs_test.py SRC_DIR WEB_DATA_DIR HOST_BUILD_DIR")
    src, data, host = sys.argv[1:]
    texts = font_cases(src, data)
    pics = picture_cases(data, host)
    for f in failures:
        print("FAIL:", f)
    print(f"web data: {texts} texts against the cut font, {pics} pictures against their BMP files")
    print(f"data: {0 if failures else 1} passed, {1 if failures else 0} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
