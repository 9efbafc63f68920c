#!/usr/bin/env python3
"""Draws the 16x16 action icons of the print folder (data/print/<icon>.png), one per action icon number.

Standard library only: each icon is a stack of filled shapes, rendered with 4x4 supersampling and written as an
RGBA PNG. Run it again after changing a shape and commit the PNGs it writes.
"""
import math
import os
import struct
import zlib

SIZE = 16
SAMPLES = 4

GOLD = (196, 146, 36)
DARK = (60, 60, 60)
RED = (200, 30, 30)
GREEN = (30, 140, 50)
BLUE = (40, 80, 160)
GREY = (120, 130, 140)
WHITE = (255, 255, 255)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def segment(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2

    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return inside


def bell(cx=8.0, top=2.0, bottom=12.0, half=5.5):
    """A bell: a dome that widens towards a flared rim, with its crown and clapper."""
    height = bottom - top

    def body(x, y):
        if not top <= y <= bottom:
            return False
        t = (y - top) / height
        w = 1.8 + (half - 1.8) * (t ** 1.6)
        return abs(x - cx) <= w

    rim = rect(cx - half - 0.6, bottom - 1.2, cx + half + 0.6, bottom + 0.4)
    crown = circle(cx, top - 0.2, 1.1)
    clapper = circle(cx, bottom + 1.7, 1.4)
    return [(body, GOLD), (rim, GOLD), (crown, GOLD), (clapper, DARK)]


def icon_bell():
    return bell()


def icon_note():
    return [
        (ellipse(5.5, 12.2, 3.0, 2.2), DARK),
        (rect(7.6, 2.0, 8.8, 12.0), DARK),
        (polygon([(8.8, 2.0), (13.5, 5.5), (13.5, 8.0), (8.8, 4.8)]), DARK),
    ]


def icon_contact(up):
    arrow_colour = GREEN if up else RED
    if up:
        arrow = [(polygon([(3.5, 1.5), (6.8, 6.0), (0.2, 6.0)]), arrow_colour), (rect(2.6, 5.5, 4.4, 14.5), arrow_colour)]
    else:
        arrow = [(polygon([(3.5, 14.5), (6.8, 10.0), (0.2, 10.0)]), arrow_colour), (rect(2.6, 1.5, 4.4, 10.5), arrow_colour)]
    contact = [
        (circle(9.5, 12.5, 1.5), DARK),
        (circle(14.2, 12.5, 1.5), DARK),
        (segment(9.5, 12.5, 14.2, 7.0 if up else 11.2, 1.4), DARK),
    ]
    return arrow + contact


def icon_pages():
    shapes = []
    for k, (x, y) in enumerate([(6.5, 1.0), (4.0, 3.5), (1.5, 6.0)]):
        shapes.append((rect(x, y, x + 8.0, y + 9.0), BLUE))
        shapes.append((rect(x + 1.2, y + 1.2, x + 6.8, y + 7.8), WHITE))
        if k == 2:
            for line in range(3):
                ly = y + 2.6 + line * 2.0
                shapes.append((rect(x + 2.2, ly, x + 5.8, ly + 0.8), BLUE))
    return shapes


def icon_bell_hammer():
    return bell(cx=6.0, top=3.0, bottom=12.0, half=4.5) + [
        (segment(15.0, 15.0, 11.0, 8.0, 1.4), DARK),
        (segment(8.8, 9.2, 13.4, 6.6, 2.6), GREY),
    ]


def icon_silence():
    return bell(cx=9.0, top=4.0, bottom=12.5, half=5.0) + [
        (rect(0.5, 0.5, 6.5, 2.0), BLUE),
        (rect(2.8, 0.5, 4.2, 7.5), BLUE),
        (segment(2.0, 14.5, 15.0, 2.5, 1.8), RED),
    ]


def icon_cross():
    return [(segment(3.0, 3.0, 13.0, 13.0, 2.6), RED), (segment(13.0, 3.0, 3.0, 13.0, 2.6), RED)]


ICONS = {
    1: icon_bell,
    3: icon_note,
    4: lambda: icon_contact(up=False),
    5: lambda: icon_contact(up=True),
    7: icon_pages,
    8: icon_bell_hammer,
    11: icon_silence,
    13: icon_cross,
}


def render(shapes):
    rows = []
    for py in range(SIZE):
        row = bytearray([0])  # filter type: none
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for inside, c in shapes:  # later shapes paint over earlier ones
                        if inside(x, y):
                            colour = c
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if covered:
                row += bytes(round(a / covered) for a in acc)
                row.append(round(255 * covered / (SAMPLES * SAMPLES)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b"")


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "data", "print")
    for number, draw in sorted(ICONS.items()):
        with open(os.path.join(folder, f"{number}.png"), "wb") as f:
            f.write(png(render(draw())))


if __name__ == "__main__":
    main()
