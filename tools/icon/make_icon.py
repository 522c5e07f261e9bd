#!/usr/bin/env python3
"""Draws Quorvex's icon (a radar scope with a sweep and a blip) and writes it
as a Windows .ico with 16, 24, 32 and 48 pixel images, 32-bit with alpha.

    tools/icon/make_icon.py startup/quorvex.ico
"""
import math
import struct
import sys

NAVY = (0x12, 0x32, 0x4A)
RIM = (0x7F, 0xD8, 0xF0)
RING = (0x2E, 0x6E, 0x8C)
SWEEP = (0x5C, 0xFF, 0x9C)
BLIP = (0xFF, 0xE0, 0x66)


def shade(x, y):
    """Colour and coverage of a point; x, y in -1..1, y pointing down."""
    r = math.hypot(x, y)
    if r > 0.97:
        return None
    if r > 0.84:
        return RIM
    # The blip: a small bright dot up and to the right.
    if math.hypot(x - 0.34, y + 0.30) < 0.13:
        return BLIP
    # The sweep: a wedge trailing behind the line at 45 degrees up-right.
    angle = math.degrees(math.atan2(-y, x))  # 0 = right, counter-clockwise
    behind = (45 - angle) % 360
    if r < 0.84 and behind < 6:
        return SWEEP
    if r < 0.84 and behind < 50:
        t = 1 - behind / 50
        return tuple(int(n + (s - n) * 0.55 * t) for n, s in zip(NAVY, SWEEP))
    if abs(r - 0.52) < 0.045:
        return RING
    return NAVY


def image(size):
    """BGRA rows, bottom row first, with 4 x 4 samples a pixel."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(4):
                for sx in range(4):
                    x = ((px + (sx + 0.5) / 4) / size) * 2 - 1
                    y = ((py + (sy + 0.5) / 4) / size) * 2 - 1
                    c = shade(x, y)
                    if c is None:
                        continue
                    hits += 1
                    for i in range(3):
                        acc[i] += c[i]
            if hits == 0:
                row += bytes(4)
            else:
                r, g, b = (acc[i] // hits for i in range(3))
                row += bytes((b, g, r, hits * 255 // 16))
        rows.append(bytes(row))
    rows.reverse()
    pixels = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # the alpha channel carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def main():
    sizes = [16, 24, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
