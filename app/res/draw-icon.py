#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file: draw-icon.py OUT.ico

Each size (16, 24, 32, 48 and 256 pixels) is drawn from the same shapes, sampled 4 x 4 times per
pixel for soft edges: a night-blue rounded tile, two steel plates joined by a bead, the bright
star of a welding arc over the seam and, from 32 pixels up, a green tick in the top corner.
The small sizes are 32-bit DIB entries; 256 is a PNG entry, as Windows expects."""
import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 256)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def seg_dist(px, py, x0, y0, x1, y1):
    vx, vy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - x0 - t * vx, py - y0 - t * vy)


def rounded_inside(u, v, lo, hi, r):
    """Whether (u, v) lies in the square [lo, hi]^2 with corners of radius r."""
    cx = min(max(u, lo + r), hi - r)
    cy = min(max(v, lo + r), hi - r)
    return math.hypot(u - cx, v - cy) <= r


def sample(u, v, size):
    """Colour (r, g, b, a) at (u, v) in the unit square, a in 0..1."""
    if not rounded_inside(u, v, 0.02, 0.98, 0.18):
        return (0.0, 0.0, 0.0, 0.0)
    # Tile: night blue at the top to steel blue, with a light rim.
    c = mix((18, 40, 92), (50, 110, 170), v)
    if not rounded_inside(u, v, 0.06, 0.94, 0.15):
        c = mix(c, (150, 190, 230), 0.55)
    # Two plates meeting at a seam, lower part.
    if 0.62 <= v <= 0.80 and 0.12 <= u <= 0.88:
        c = mix((205, 212, 222), (105, 112, 124), (v - 0.62) / 0.18)
        if abs(u - 0.5) < 0.025:
            c = (60, 64, 72)
    # The bead along the seam, glowing orange where the arc is.
    if 0.56 <= v <= 0.64 and 0.22 <= u <= 0.62:
        c = mix((255, 150, 40), (150, 80, 40), (0.62 - u) / 0.40)
    # The arc: a white-hot core, a yellow glow and four rays.
    sx, sy = 0.62, 0.50
    d = math.hypot(u - sx, v - sy)
    ray = min(abs(u - sx) * 6 + abs(v - sy), abs(v - sy) * 6 + abs(u - sx))
    glow = max(0.0, 1.0 - d / 0.22) ** 2 + max(0.0, 1.0 - ray / 0.30) ** 3 * 0.9
    if glow > 0:
        c = mix(c, (255, 220, 90), min(1.0, glow * 1.4))
    if d < 0.075:
        c = mix((255, 255, 245), (255, 235, 150), d / 0.075)
    # A tick for a passed exam, drawn where it stays legible.
    if size >= 32:
        t = min(seg_dist(u, v, 0.16, 0.26, 0.27, 0.38), seg_dist(u, v, 0.27, 0.38, 0.46, 0.14))
        if t < 0.075:
            c = (255, 255, 255) if t > 0.045 else (70, 200, 90)
    return (c[0], c[1], c[2], 1.0)


def draw(size):
    """Rows top-down of (r, g, b, a) bytes, premultiplication left to the caller."""
    n = 4 if size < 256 else 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0.0
            for j in range(n):
                for i in range(n):
                    cr, cg, cb, ca = sample((x + (i + 0.5) / n) / size, (y + (j + 0.5) / n) / size, size)
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / (n * n))))
        rows.append(row)
    return rows


def dib_entry(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):  # DIB rows go bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def png_entry(rows):
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw-icon.py OUT.ico")
    entries = [(s, png_entry(draw(s)) if s >= 256 else dib_entry(draw(s))) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for s, data in entries:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(data for _, data in entries))


if __name__ == "__main__":
    main()
