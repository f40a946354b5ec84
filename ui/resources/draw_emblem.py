#!/usr/bin/env python3
"""Draws the About dialog's emblem (a report page with a bar chart and a coin)
as a binary PPM on stdout; turn it into the shipped JPEG with
    python3 draw_emblem.py | cjpeg -quality 92 -optimize > quelvara.jpg
"""
import sys

W, H, SS = 73, 57, 6  # final size and supersampling factor


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def inside_page(x, y):
    # A page with its top-right corner folded down.
    if not (8 <= x <= 44 and 4 <= y <= 53):
        return None
    if x + (4 - y) > 44 - 9:  # beyond the fold line
        return "cut"
    if x > 44 - 9 and y < 4 + 9:
        return "fold"
    return "page"


def colour(x, y):
    # Background: a soft vertical gradient.
    c = lerp((222, 232, 245), (176, 196, 226), y / H)

    # Drop shadow of the page.
    if 10 <= x <= 46 and 6 <= y <= 55 and inside_page(x - 2, y - 2) in ("page", "fold"):
        c = lerp(c, (90, 100, 120), 0.35)

    part = inside_page(x, y)
    if part == "page":
        c = (252, 252, 250)
        if x < 9 or y < 5 or x > 43 or y > 52:
            c = (110, 120, 140)  # border
        # Title bar and text lines.
        if 12 <= x <= 30 and 8 <= y <= 10:
            c = (30, 60, 130)
        for top in (14, 18):
            if 12 <= x <= 38 and top <= y <= top + 1:
                c = (150, 158, 172)
        # Bar chart on a base line.
        if 12 <= x <= 40 and 47 <= y <= 48:
            c = (80, 90, 110)
        for left, height, col in ((14, 12, (40, 110, 200)),
                                  (21, 18, (40, 150, 90)),
                                  (28, 9, (40, 110, 200)),
                                  (35, 22, (40, 150, 90))):
            if left <= x <= left + 4 and 47 - height <= y < 47:
                c = col
    elif part == "fold":
        c = (205, 212, 224)
        if x + (4 - y) > 44 - 10:
            c = (110, 120, 140)

    # A gold coin overlapping the page's lower right.
    cx, cy, r = 53.0, 38.0, 14.0
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 <= r * r:
        t = ((x - cx) + (y - cy)) / (2 * r) + 0.5  # light from top left
        c = lerp((255, 226, 110), (196, 140, 20), max(0.0, min(1.0, t)))
        if d2 >= (r - 1.6) ** 2:
            c = (150, 100, 10)  # rim
        elif (r - 4.2) ** 2 <= d2 <= (r - 3.0) ** 2:
            c = lerp(c, (160, 110, 15), 0.7)  # inner ring
        # A simple money sign: an S-like zigzag crossed by a bar.
        sx, sy = x - cx, y - cy
        if abs(sx) <= 0.8 and abs(sy) <= 7.5:
            c = (130, 85, 5)
        for yy in (-5, 0, 5):
            if abs(sy - yy) <= 1.0 and abs(sx) <= 4.0:
                c = (130, 85, 5)
        if -5 <= sy <= 0 and -4.5 <= sx <= -3.0:
            c = (130, 85, 5)
        if 0 <= sy <= 5 and 3.0 <= sx <= 4.5:
            c = (130, 85, 5)
    return c


def main():
    out = bytearray()
    for py in range(H):
        for px in range(W):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    c = colour(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    for i in range(3):
                        acc[i] += c[i]
            out += bytes(int(round(v / (SS * SS))) for v in acc)
    sys.stdout.buffer.write(b"P6\n%d %d\n255\n" % (W, H) + bytes(out))


if __name__ == "__main__":
    main()
