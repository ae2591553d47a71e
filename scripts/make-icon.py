#!/usr/bin/env python3
"""Draws the tool's icon and writes it as resources/app.ico.

One 128 x 128 image, 32 bits per pixel with an alpha channel, stored as a
PNG inside the icon file, as Windows Vista and later (and Wine) read it: the
uncompressed form would be 64 KiB of the executable's size. The picture: a
white coffee cup with steam on an orange rounded square, the usual hint at
Java.

Plain standard library, so it runs anywhere python3 does:
    python3 scripts/make-icon.py [output.ico]
"""

import math
import os
import struct
import sys
import zlib

SIZE = 128
SAMPLES = 4  # per axis, for anti-aliased edges


def rounded_rect(x, y, left, top, right, bottom, radius):
    """True when (x, y) lies inside the rectangle with rounded corners."""
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def cup(x, y):
    body = rounded_rect(x, y, 30, 56, 84, 100, 14) and y >= 56
    # Square the top corners off again: the cup is open at the top.
    rim = 30 <= x <= 84 and 56 <= y <= 70
    ring = (x - 84) ** 2 + (y - 75) ** 2
    handle = x >= 80 and 7 ** 2 <= ring <= 13 ** 2
    return body or rim or handle


def coffee(x, y):
    """The dark surface of the coffee, seen just below the rim."""
    return ellipse(x, y, 57, 60, 23, 3.2)


def saucer(x, y):
    return ellipse(x, y, 57, 103, 40, 6.5)


def steam(x, y):
    for base in (45, 57, 69):
        if 20 <= y <= 50:
            wave = base + 4.0 * math.sin((y - 20) / 30.0 * 2.0 * math.pi)
            fade = min(1.0, (y - 20) / 6.0)  # thin at the top
            if abs(x - wave) <= 2.6 * fade:
                return True
    return False


def background(y):
    """Orange, a little darker towards the bottom."""
    t = y / SIZE
    top, bottom = (247, 148, 29), (209, 84, 22)
    return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))


WHITE = (255, 255, 255)
COFFEE = (94, 52, 30)


def colour_at(x, y):
    """RGBA of one sample point, or None when it is outside the badge."""
    if not rounded_rect(x, y, 2, 2, 126, 126, 26):
        return None
    if coffee(x, y):
        return COFFEE
    if cup(x, y) or saucer(x, y) or steam(x, y):
        return WHITE
    return background(y)


def render():
    """Rows of (r, g, b, a), top row first, averaged over the samples."""
    rows = []
    step = 1.0 / SAMPLES
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            r = g = b = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    if c is not None:
                        r, g, b, covered = r + c[0], g + c[1], b + c[2], covered + 1
            if covered:
                row.append((r // covered, g // covered, b // covered,
                            round(255 * covered / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_bytes(rows):
    # Colour type 6 (RGBA), 8 bits per channel; every row with filter 0.
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def ico_bytes(rows):
    image = png_bytes(rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    # Width and height 128 fit in a byte; 0 would mean 256.
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "app.ico")
    with open(target, "wb") as out:
        out.write(ico_bytes(render()))


if __name__ == "__main__":
    main()
