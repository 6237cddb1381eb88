#!/usr/bin/python3
"""Every text the game can draw has its letters in the browser build's cut
font; the pictures packed as PNG decode to the game's own 5-6-5 pixels.

    glyphs_test.py SRC_DIR WEB_DATA_DIR HOST_BUILD_DIR
"""
import os
import struct
import sys
import zlib

import numpy as np
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "web"))
import game_texts  # noqa: E402
import pictures  # noqa: E402

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
    size = os.path.getsize(os.path.join(data, "font", "quellstorm.ttf"))
    check(size < 1024 * 1024, f"the cut font is {size} bytes; the cut did not happen")
    return texts


def decode_png(path):
    d = open(path, "rb").read()
    pos, idat, w, h = 8, b"", 0, 0
    while pos < len(d):
        n = struct.unpack_from(">I", d, pos)[0]
        kind, body = d[pos + 4 : pos + 8], d[pos + 8 : pos + 8 + n]
        if kind == b"IHDR":
            w, h = struct.unpack_from(">II", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    raw = np.frombuffer(zlib.decompress(idat), np.uint8).reshape(h, 1 + w * 3)
    out = np.zeros((h, w * 3), np.int32)
    for y in range(h):
        kind, row = raw[y, 0], raw[y, 1:].astype(np.int32)
        if kind == 0:
            out[y] = row
        elif kind == 1:
            r = row.copy()
            for c in range(3):
                r[c::3] = np.cumsum(row[c::3]) & 255
            out[y] = r
        elif kind == 2:
            out[y] = (row + (out[y - 1] if y else 0)) & 255
        else:
            raise ValueError(f"{path}: filter {kind} not written by pictures.py")
    return out.reshape(h, w, 3).astype(np.uint8)


def picture_cases(data, host):
    n = 0
    for folder in ("BMP", "BG"):
        for name in sorted(os.listdir(os.path.join(host, folder))):
            if not name.lower().endswith(".bmp"):
                continue
            png = os.path.join(data, folder, name + ".png")
            if not check(os.path.exists(png), f"{folder}/{name} has no packed picture"):
                continue
            want = pictures.load_bmp(os.path.join(host, folder, name)) & np.array([0xF8, 0xFC, 0xF8], np.uint8)
            got = decode_png(png)
            check(got.shape == want.shape and (got == want).all(), f"{png} does not hold the pixels of {folder}/{name}")
            n += 1
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
