#!/usr/bin/env python3
"""Writes the textures and the LightWave mesh of the showcase example, from nothing but code
(Python standard library only), so every file in examples/showcase/ can be made again here:
    python3 tools/showcase_assets/make_assets.py examples/showcase

- title.png, credits.png: white text on a transparent background, in the 5x7 font below
- tiles.png: a 64 x 64 tile pattern for the textured cubes (colour)
- glow.png: a 64 x 64 grid of glowing lines (emissive texture)
- knot.lwo: a torus knot, as a LightWave object (LWO2) with one layer and one smoothed surface
"""

import math
import struct
import sys
import zlib
from pathlib import Path

# A 5 x 7 bitmap font for the letters the titles use: each letter is seven rows of five bits.
FONT = {
    "a": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "b": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "c": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "d": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "e": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "h": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "i": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "k": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "l": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "m": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "n": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "o": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "p": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "r": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "s": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "t": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "v": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "w": ["10001", "10001", "10001", "10101", "10101", "11011", "10001"],
    "y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "6": ["01110", "10000", "10000", "11110", "10001", "10001", "01110"],
    " ": ["00000"] * 7,
}


def png(width, height, rgba_rows):
    """A PNG file of 8-bit RGBA rows (each a bytes object of width * 4)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + row for row in rgba_rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def text_png(text, scale, margin=2):
    """The text in white, each font pixel a scale x scale block with a soft one-pixel edge."""
    columns = len(text) * 6 - 1 + 2 * margin
    rows = 7 + 2 * margin
    lit = set()
    for index, letter in enumerate(text):
        for y, bits in enumerate(FONT[letter]):
            for x, bit in enumerate(bits):
                if bit == "1":
                    lit.add((margin + index * 6 + x, margin + y))
    width, height = columns * scale, rows * scale
    out = []
    for py in range(height):
        row = bytearray()
        for px in range(width):
            cell = (px // scale, py // scale)
            alpha = 255 if cell in lit else 0
            row += bytes((255, 255, 255, alpha))
        out.append(bytes(row))
    return png(width, height, out)


def tiles_png(size=64):
    """Warm tiles with dark grout: four tiles across, each shaded a little differently."""
    out = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            tx, ty = x % 16, y % 16
            grout = tx < 1 or ty < 1
            shade = 0.75 + 0.25 * (((x // 16) * 7 + (y // 16) * 3) % 4) / 3
            if grout:
                row += bytes((25, 20, 30, 255))
            else:
                row += bytes((int(240 * shade), int(120 * shade), int(50 * shade), 255))
        out.append(bytes(row))
    return png(size, size, out)


def glow_png(size=64):
    """Thin bright cyan lines on black, every 16 texels: a grid that glows where the emissive
    texture lights it."""
    out = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            d = min(x % 16, 16 - x % 16, y % 16, 16 - y % 16)
            v = max(0.0, 1.0 - d / 1.5)
            row += bytes((int(40 * v), int(230 * v), int(255 * v), 255))
        out.append(bytes(row))
    return png(size, size, out)


def knot_lwo(p=2, q=3, segments=96, sides=10, tube=0.28):
    """A (p, q) torus knot tube as an LWO2 object: PNTS, POLS of quads, one surface smoothed at
    89 degrees so the tube looks round."""
    def centre(t):
        r = 1.0 + 0.45 * math.cos(q * t)
        return (r * math.cos(p * t), 0.45 * math.sin(q * t), r * math.sin(p * t))

    points = []
    for i in range(segments):
        t = 2 * math.pi * i / segments
        c = centre(t)
        n = centre(t + 1e-3)
        tangent = [n[k] - c[k] for k in range(3)]
        length = math.sqrt(sum(v * v for v in tangent))
        tangent = [v / length for v in tangent]
        up = (0.0, 1.0, 0.0)
        side = [tangent[1] * up[2] - tangent[2] * up[1], tangent[2] * up[0] - tangent[0] * up[2],
                tangent[0] * up[1] - tangent[1] * up[0]]
        length = math.sqrt(sum(v * v for v in side))
        side = [v / length for v in side]
        normal = [side[1] * tangent[2] - side[2] * tangent[1], side[2] * tangent[0] - side[0] * tangent[2],
                  side[0] * tangent[1] - side[1] * tangent[0]]
        for j in range(sides):
            a = 2 * math.pi * j / sides
            points.append(tuple(c[k] + tube * (math.cos(a) * side[k] + math.sin(a) * normal[k]) for k in range(3)))

    polygons = []
    for i in range(segments):
        for j in range(sides):
            a = i * sides + j
            b = i * sides + (j + 1) % sides
            c = ((i + 1) % segments) * sides + (j + 1) % sides
            d = ((i + 1) % segments) * sides + j
            polygons.append((a, b, c, d))

    def chunk(kind, data):
        padded = data + (b"\x00" if len(data) % 2 else b"")
        return kind + struct.pack(">I", len(data)) + padded

    def s0(text):
        raw = text.encode() + b"\x00"
        return raw + (b"\x00" if len(raw) % 2 else b"")

    tags = chunk(b"TAGS", s0("Knot"))
    layer = chunk(b"LAYR", struct.pack(">HHfff", 0, 0, 0.0, 0.0, 0.0) + s0(""))
    pnts = chunk(b"PNTS", b"".join(struct.pack(">fff", *pt) for pt in points))
    pols = chunk(b"POLS", b"FACE" + b"".join(struct.pack(">H", 4) + b"".join(struct.pack(">H", v) for v in poly)
                                          for poly in polygons))
    ptag = chunk(b"PTAG", b"SURF" + b"".join(struct.pack(">HH", i, 0) for i in range(len(polygons))))
    sman = b"SMAN" + struct.pack(">Hf", 4, math.radians(89.0))
    surf = chunk(b"SURF", s0("Knot") + s0("") + sman)
    body = b"LWO2" + tags + layer + pnts + pols + ptag + surf
    return b"FORM" + struct.pack(">I", len(body)) + body


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else "examples/showcase")
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "title.png").write_bytes(text_png("orvane", 8))
    (folder / "credits.png").write_bytes(text_png("every operator", 8))
    (folder / "tiles.png").write_bytes(tiles_png())
    (folder / "glow.png").write_bytes(glow_png())
    (folder / "knot.lwo").write_bytes(knot_lwo())


if __name__ == "__main__":
    main()
