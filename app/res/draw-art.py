#!/usr/bin/env python3
"""Draws the program's two pictures as 24-bit BMP files beside this script:
login.bmp (160 x 348, the login window's left banner: a welding arc over two plates joined by
a bead, on a night-blue gradient) and waiting.bmp (50 x 55, an hourglass on magenta, which the
waiting window leaves out as its transparent colour). Run it again after changing a drawing."""
import math
import os
import struct


def write_bmp(path, width, height, pixel):
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):  # BMP rows go bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def seg_dist(px, py, x0, y0, x1, y1):
    vx, vy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - x0 - t * vx, py - y0 - t * vy)


def login_banner(x, y):
    w, h = 160, 348
    # Night-blue to steel-blue gradient.
    c = mix((16, 38, 86), (46, 104, 160), y / h)
    # Faint horizontal lines like a workshop wall.
    if y % 24 == 0:
        c = mix(c, (255, 255, 255), 0.08)
    # Two steel plates meeting at a seam, lower third.
    plate_top, plate_bottom = 236, 286
    if plate_top <= y < plate_bottom and 12 <= x < 148:
        shade = 0.15 + 0.35 * (y - plate_top) / (plate_bottom - plate_top)
        c = mix((196, 204, 214), (92, 100, 112), shade)
        if x in (12, 147) or y in (plate_top, plate_bottom - 1):
            c = (60, 66, 76)
    # The weld bead along the seam: a row of overlapping ripples, hot near the arc.
    bead_y = plate_top + 3
    if 12 <= x < 96 and abs(y - bead_y) <= 4:
        ripple = 0.5 + 0.5 * math.cos((x % 8) / 8 * 2 * math.pi)
        heat = max(0.0, (x - 40) / 56)
        base = mix((150, 150, 156), (255, 140, 40), heat)
        c = mix(base, (235, 235, 240), 0.35 * ripple * (1 - abs(y - bead_y) / 5))
    # The arc: a white-hot core with a yellow-orange glow at the end of the bead.
    ax, ay = 100, bead_y - 2
    d = math.hypot(x - ax, (y - ay) * 1.3)
    if d < 30:
        glow = (1 - d / 30) ** 2
        c = mix(c, (255, 190, 60), glow)
    if d < 6:
        c = mix((255, 250, 220), (255, 255, 255), 1 - d / 6)
    # Sparks flying up and out of the arc.
    for angle, length in ((-150, 58), (-125, 76), (-100, 64), (-75, 82), (-50, 60), (-30, 44), (-165, 40)):
        rad = math.radians(angle)
        dx, dy = math.cos(rad), math.sin(rad)
        px, py = x - ax, y - ay
        along = px * dx + py * dy
        across = abs(-px * dy + py * dx)
        if 10 < along < length and across < 0.9:
            c = mix((255, 236, 120), (255, 120, 30), along / length)
    # The torch: a dark nozzle coming down from the upper left to the arc.
    tx0, ty0 = 46, 150
    vx, vy = ax - tx0, ay - 8 - ty0
    seg = math.hypot(vx, vy)
    px, py = x - tx0, y - ty0
    along = (px * vx + py * vy) / seg
    across = abs(-px * vy + py * vx) / seg
    if 0 <= along <= seg and across < 7 - 3 * along / seg:
        c = mix((70, 74, 82), (150, 154, 160), 1 - across / 7)
    # A certificate badge at the top: a gold ring with a check mark.
    bx, by = 80, 78
    r = math.hypot(x - bx, y - by)
    if 30 <= r < 36:
        c = mix((250, 214, 90), (196, 150, 40), (r - 30) / 6)
    elif r < 30:
        c = mix(c, (255, 255, 255), 0.12)
        # Check mark: a short stroke down to the right, a long one up to the right.
        if seg_dist(x - bx, y - by, -13, 0, -4, 10) < 3 or seg_dist(x - bx, y - by, -4, 10, 14, -11) < 3:
            c = (250, 214, 90)
    # A thin gold rule along the right edge, towards the window's text.
    if x >= w - 3:
        c = mix((250, 214, 90), (196, 150, 40), y / h)
    return c


def hourglass(x, y):
    w, h = 50, 55
    key = (255, 0, 255)
    cx = w / 2
    # Wooden caps top and bottom.
    if (3 <= y < 8 or h - 8 <= y < h - 3) and 7 <= x < w - 7:
        return mix((150, 96, 44), (96, 58, 24), (y % 5) / 5)
    if not (8 <= y < h - 8):
        return key
    # Glass: two bulbs meeting at a narrow neck.
    mid = h / 2
    t = abs(y - mid) / (mid - 8)
    half = 2 + 15 * (t ** 0.8)
    if abs(x - cx) > half:
        # Posts at both sides.
        if 8 <= x < 11 or w - 11 <= x < w - 8:
            return (120, 78, 36)
        return key
    glass = (222, 238, 248)
    if abs(abs(x - cx) - half) < 1.2:
        return (120, 150, 180)
    # Sand: the lower bulb filling up, a thin stream through the neck, some left on top.
    if y > mid + 6 and y > h - 8 - 12:
        return (232, 184, 90)
    if y < mid and y > mid - 8 and abs(x - cx) < half - 2:
        return (232, 184, 90)
    if abs(x - cx) < 1 and mid - 2 <= y <= h - 20:
        return (232, 184, 90)
    return glass


here = os.path.dirname(os.path.abspath(__file__))
write_bmp(os.path.join(here, "login.bmp"), 160, 348, login_banner)
write_bmp(os.path.join(here, "waiting.bmp"), 50, 55, hourglass)
