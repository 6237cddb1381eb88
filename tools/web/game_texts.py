#!/usr/bin/python3
"""The characters the game can draw, for cutting the browser build's font.

    game_texts.py SRC_DIR            prints them, one line of text

Every character of every string literal in the game's sources (Japanese
texts, English texts, formats) plus all of printable ASCII (numbers and
names formatted at run time), plus the ideographic space, plus what a
player types into the settings page's text rows most often: the accented
Latin letters, the kana and the full-width forms (a name in kanji still
needs the desktop's whole font).
"""
import os
import re
import sys

# A C/C++ string literal, with any prefix (u8, L, u, U); raw strings are
# not used by the game.
LITERAL = re.compile(r'(?:u8|[LuU])?"((?:[^"\\\n]|\\.)*)"')
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.S)
CHARLIT = re.compile(r"'(?:[^'\\\n]|\\.)*'")


def literals(text):
    """The string literals of one source file, comments left out."""
    out = []
    pos = 0
    # Walk the file so that quotes inside comments and character literals
    # are not taken for strings.
    token = re.compile(r'//[^\n]*|/\*.*?\*/|\'(?:[^\'\\\n]|\\.)*\'|(?:u8|[LuU])?"((?:[^"\\\n]|\\.)*)"', re.S)
    for m in token.finditer(text):
        if m.group(1) is not None:
            out.append(m.group(1))
    return out


def source_files(src):
    for root, _, files in os.walk(src):
        for f in files:
            if f.endswith((".cpp", ".h")):
                yield os.path.join(root, f)


def game_characters(src):
    chars = set(chr(c) for c in range(0x20, 0x7F))
    chars.add("\u3000")
    typed = [(0xA1, 0x100), (0x3001, 0x3100), (0xFF01, 0xFF5F)]
    chars.update(chr(c) for lo, hi in typed for c in range(lo, hi))
    for path in source_files(src):
        with open(path, encoding="utf-8") as f:
            for lit in literals(f.read()):
                chars.update(c for c in lit if ord(c) >= 0x20)
    return chars


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: game_texts.py SRC_DIR")
    print("".join(sorted(game_characters(sys.argv[1]))))


if __name__ == "__main__":
    main()
