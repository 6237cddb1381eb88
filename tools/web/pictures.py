#!/usr/bin/python3
"""Stores the game's bitmaps as PNG files for the browser build.

    pictures.py SRC_DIR OUT_DIR      (each SRC_DIR/X.bmp -> OUT_DIR/X.bmp.png)

The game turns every picture into 16-bit 5-6-5 pixels as it loads it, so
the bits it drops (the low three of red and blue, two of green) are dropped
here already: the picture drawn is the same, and the file is far smaller.
Each picture is written with whichever PNG row filter packs it best.
"""
import os
import struct
import sys
import zlib

import numpy as np


def load_bmp(path):
    d = open(path, "rb").read()
    if d[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    off = struct.unpack_from("<I", d, 10)[0]
    header = struct.unpack_from("<I", d, 14)[0]
    w, h = struct.unpack_from("<ii", d, 18)
    bpp, comp = struct.unpack_from("<HI", d, 28)
    if header < 40 or bpp != 24 or comp != 0 or w <= 0 or h == 0:
        raise ValueError(f"{path}: only uncompressed 24-bit BMP files are packed ({bpp} bits, compression {comp})")
    row = ((w * 3 + 3) // 4) * 4
    if off + row * abs(h) > len(d):
        raise ValueError(f"{path}: truncated")
    a = np.frombuffer(d, np.uint8, row * abs(h), off).reshape(abs(h), row)[:, : w * 3].reshape(abs(h), w, 3)
    if h > 0:  # stored bottom-up
        a = a[::-1]
    return a[:, :, ::-1]  # BGR -> RGB


def filtered(a, kind):
    h, w, _ = a.shape
    raw = a.reshape(h, w * 3).astype(np.int16)
    f = raw.copy()
    if kind == 1:  # Sub
        f[:, 3:] -= raw[:, :-3]
    elif kind == 2:  # Up
        f[1:] -= raw[:-1]
    body = (f & 255).astype(np.uint8)
    return np.hstack([np.full((h, 1), kind, np.uint8), body]).tobytes()


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png_bytes(a):
    h, w, _ = a.shape
    best = min((zlib.compress(filtered(a, k), 9) for k in (0, 1, 2)), key=len)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", best) + chunk(b"IEND", b"")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pictures.py SRC_DIR OUT_DIR")
    src, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name in sorted(os.listdir(src)):
        if not name.lower().endswith(".bmp"):
            continue
        s, o = os.path.join(src, name), os.path.join(out, name + ".png")
        if os.path.exists(o) and os.path.getmtime(o) >= os.path.getmtime(s):
            continue
        a = load_bmp(s) & np.array([0xF8, 0xFC, 0xF8], np.uint8)
        with open(o + ".tmp", "wb") as f:
            f.write(png_bytes(np.ascontiguousarray(a)))
        os.replace(o + ".tmp", o)


if __name__ == "__main__":
    main()
