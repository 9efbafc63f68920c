#!/usr/bin/env python3
"""Draws the editor's images: the 16-pixel icon strips of the navigation tree, the page headers, the tool bar, the
program actions, the list buttons and the report's severities, the splash picture and the two page pictures.
Standard library only; run it after changing a drawing and commit the PNG files it writes beside itself (the build
copies them into Data/Gfx of the version folder).

It also draws the desktop icons of the editor and the launcher (48 and 256 pixels) into packaging/icons/, which the
package installs in the hicolor icon theme.

Every image is drawn from simple shapes, painted in order (later shapes cover earlier ones), with 4 x 4 samples
per pixel so edges come out smooth."""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4

# A small palette so that all icons look like one family.
INK = (52, 64, 84)
BLUE = (40, 110, 200)
LIGHT_BLUE = (170, 205, 245)
PAPER = (250, 250, 246)
GOLD = (214, 160, 40)
DARK_GOLD = (150, 105, 20)
RED = (205, 45, 40)
GREEN = (40, 150, 70)
GREY = (150, 156, 166)
LIGHT_GREY = (215, 218, 224)
WHITE = (255, 255, 255)


# --- shapes: each is a test "is the point (x, y) inside", in the image's own units ---------------------------------

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: (r - width) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(*points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result
    return inside


def line(xa, ya, xb, yb, width):
    dx, dy = xb - xa, yb - ya
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length2))
        px, py = xa + t * dx - x, ya + t * dy - y
        return px * px + py * py <= width * width / 4
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


# --- painting ------------------------------------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        fill = (background + (255,)) if background else (0, 0, 0, 0)
        self.pixels = [list(fill) for _ in range(width * height)]

    def paint(self, shape, colour, alpha=1.0, dx=0.0, dy=0.0, bounds=None):
        x0, y0, x1, y1 = bounds or (0, 0, self.width, self.height)
        for py in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for px in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if shape(px + (sx + 0.5) / SAMPLES - dx, py + (sy + 0.5) / SAMPLES - dy):
                            hits += 1
                if hits:
                    self.blend(px, py, colour, alpha * hits / (SAMPLES * SAMPLES))

    def blend(self, px, py, colour, a):
        p = self.pixels[py * self.width + px]
        da = p[3] / 255.0
        out_a = a + da * (1 - a)
        for i in range(3):
            p[i] = round((colour[i] * a + p[i] * da * (1 - a)) / out_a) if out_a else 0
        p[3] = round(out_a * 255)

    def write(self, name):
        raw = b"".join(b"\x00" + bytes(v for p in self.pixels[y * self.width:(y + 1) * self.width] for v in p)
                       for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(png)


# --- the 16-pixel icons: each a list of (shape, colour) painted in a 16 x 16 cell ------------------------------------

def outlined(shape_outer, shape_inner, outline, fill):
    return [(shape_outer, outline), (shape_inner, fill)]


def bell(scale=1.0, ox=0.0, oy=0.0):
    s = scale

    def p(x, y):
        return (ox + x * s, oy + y * s)
    body = polygon(p(8, 1.5), p(10.5, 2.5), p(11.5, 5), p(12, 9), p(14, 12), p(14, 13), p(2, 13), p(2, 12),
                   p(4, 9), p(4.5, 5), p(5.5, 2.5))
    shine = polygon(p(6.2, 4), p(7.2, 3.4), p(6.8, 8), p(5.4, 11), p(5.2, 10))
    clapper = circle(ox + 8 * s, oy + 14 * s, 1.6 * s)
    return [(clapper, DARK_GOLD), (body, DARK_GOLD), (polygon(p(8, 2.5), p(10, 3.2), p(10.8, 5.2), p(11.2, 9.2),
                                                               p(12.8, 12), p(3.2, 12), p(4.8, 9.2), p(5.2, 5.2),
                                                               p(6, 3.2)), GOLD), (shine, (245, 215, 120))]


def page(x0=2.5, y0=1, x1=13.5, y1=15):
    return outlined(rect(x0, y0, x1, y1), rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1), INK, PAPER)


def calendar(header=BLUE):
    return [(rounded(1, 2, 15, 15, 1.5), INK), (rect(2, 6, 14, 14), PAPER), (rect(2, 3, 14, 6), header),
            (rect(4, 1, 5.5, 4.5), INK), (rect(10.5, 1, 12, 4.5), INK)]


def grid(rows, cols, colour=GREY, x0=3, y0=7, x1=13, y1=13):
    cells = []
    w, h = (x1 - x0) / cols, (y1 - y0) / rows
    for r in range(rows):
        for c in range(cols):
            cells.append((rect(x0 + c * w + 0.25, y0 + r * h + 0.25, x0 + (c + 1) * w - 0.25, y0 + (r + 1) * h - 0.25),
                          colour))
    return cells


def star(cx, cy, r):
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        rr = r if i % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return polygon(*pts)


def gear(cx=8, cy=8, r=6.5, colour=GREY):
    teeth = [line(cx + (r - 2) * math.cos(a), cy + (r - 2) * math.sin(a), cx + r * math.cos(a), cy + r * math.sin(a), 2.6)
             for a in [i * math.pi / 4 for i in range(8)]]
    return [(union(circle(cx, cy, r - 1.6), *teeth), INK), (union(circle(cx, cy, r - 2.4)), colour),
            (circle(cx, cy, 1.8), WHITE)]


def clock_face(cx=8, cy=8, r=7, hands=((8, 3.5), (11.5, 8))):
    parts = [(circle(cx, cy, r), INK), (circle(cx, cy, r - 1.2), WHITE)]
    for hx, hy in hands:
        parts.append((line(cx, cy, hx, hy, 1.5), INK))
    parts.append((circle(cx, cy, 1), RED))
    return parts


def speaker():
    return [(polygon((1.5, 6), (4.5, 6), (9, 2), (9, 14), (4.5, 10), (1.5, 10)), INK),
            (polygon((2.5, 7), (5, 7), (8, 4.3), (8, 11.7), (5, 9), (2.5, 9)), LIGHT_BLUE),
            (minus(ring(9, 8, 4.5, 1.3), rect(0, 0, 10, 16)), BLUE), (minus(ring(9, 8, 7, 1.3), rect(0, 0, 10, 16)), BLUE)]


def controller():
    return [(rounded(1, 2, 15, 14, 1.5), INK), (rect(2.2, 3.2, 13.8, 12.8), LIGHT_GREY), (rect(3.5, 4.5, 12.5, 8), GREEN),
            (rect(4.5, 5.5, 9, 7), (190, 240, 190)), (circle(5, 10.5, 1), RED), (circle(8, 10.5, 1), GOLD),
            (circle(11, 10.5, 1), BLUE)]


def card():
    return [(polygon((3, 1), (11, 1), (13, 3), (13, 15), (3, 15)), INK),
            (polygon((4, 2), (10.6, 2), (12, 3.4), (12, 14), (4, 14)), BLUE),
            *[(rect(5 + i * 1.6, 2.5, 6 + i * 1.6, 5.5), GOLD) for i in range(4)], (rect(5, 9, 11, 12.5), WHITE)]


def report(warning=False):
    parts = page()
    for i in range(4):
        parts.append((rect(5, 4 + i * 2.4, 11, 5 + i * 2.4), GREY))
    if warning:
        parts += [(polygon((8.5, 5), (15.5, 15.5), (1.5, 15.5)), RED), (rect(8, 8.5, 9, 12.5), WHITE),
                  (rect(8, 13.3, 9, 14.5), WHITE)]
    else:
        parts += [(line(6, 11.5, 8, 13.5, 2), GREEN), (line(8, 13.5, 13, 8, 2), GREEN)]
    return parts


def plug():
    return [(rect(2, 3, 14, 13), INK), (rect(3, 4, 13, 12), LIGHT_GREY),
            *[(circle(5 + (i % 3) * 3, 6 + (i // 3) * 4, 1.1), (GREEN if i % 2 else BLUE)) for i in range(6)],
            (line(5, 6, 11, 10, 1), RED)]


def tower_clock():
    return clock_face(hands=((8, 3.5), (12, 9)))


def person():
    return [(circle(8, 5, 3.5), INK), (circle(8, 5, 2.6), (240, 200, 160)),
            (union(circle(8, 16, 6.5)), INK), (circle(8, 16, 5.5), BLUE)]


def note():
    return [(union(circle(5, 12.5, 2.5), circle(12, 11, 2.5), rect(6.5, 2.5, 7.7, 12.5), rect(13.3, 1, 14.5, 11),
                   polygon((6.5, 2.5), (14.5, 0.5), (14.5, 3), (6.5, 5))), INK)]


def key():
    return [(ring(5, 8, 3.8, 1.8), GOLD), (rect(8.5, 7, 15, 9), GOLD), (rect(12, 9, 13.5, 12), GOLD),
            (rect(14, 9, 15, 11), GOLD)]


def printer():
    return [(rect(4, 1, 12, 7), INK), (rect(5, 2, 11, 7), PAPER), (rounded(1, 6, 15, 12, 1.5), INK),
            (rect(2, 7, 14, 11), LIGHT_GREY), (circle(12.3, 8.3, 0.7), GREEN), (rect(4, 10, 12, 15), INK),
            (rect(5, 10, 11, 14), PAPER), (rect(6, 11.5, 10, 12.3), GREY)]


def programs():
    return clock_face(hands=((8, 3.5), (4.5, 8))) + [(rect(10, 10, 15.5, 15.5), INK), (rect(11, 11, 14.5, 14.5), PAPER),
                                                      (rect(11.8, 12.2, 13.8, 13), BLUE)]


def generic():
    return page() + [(rect(5, 5, 11, 6), GREY), (rect(5, 8, 11, 9), GREY), (rect(5, 11, 9, 12), GREY)]


# The tree's icons by their index in the strip.
TREE = [
    speaker(),                                # 0 settings entry 1: amplifier
    controller(),                             # 1 settings
    gear(),                                   # 2 time corrections, striking, settings entry 2
    generic(),                                # 3
    generic(),                                # 4
    calendar(RED) + [(star(8, 10, 3.2), GOLD)],  # 5 holidays
    programs(),                               # 6 programs
    calendar() + grid(2, 7),                  # 7 weekly
    calendar(GREEN) + grid(3, 4),             # 8 annual
    calendar(GOLD) + [(star(8, 10, 3.2), RED)],  # 9 holiday programs
    bell(),                                   # 10 one-time, funeral and special tolling
    card(),                                   # 11 card exchange
    report(),                                 # 12 report
    plug(),                                   # 13 tower clocks, cross-connection
    tower_clock(),                            # 14
    person(),                                 # 15 users
    note(),                                   # 16 sequences, chimes
    key(),                                    # 17 codes and keys
    report(True),                             # 18 report with problems (blinks with 12)
    printer(),                                # 19 printing
]

# The page headers' icons: 2 for most pages, 5 for the program overview.
HEADER = [generic(), controller(), gear(colour=WHITE), card(), bell(), programs()]


def new_file():
    return page() + [(circle(12, 12, 3.6), GREEN), (rect(11.3, 9.8, 12.7, 14.2), WHITE), (rect(9.8, 11.3, 14.2, 12.7), WHITE)]


def open_file():
    return [(polygon((1, 3), (6, 3), (7.5, 4.5), (14, 4.5), (14, 13), (1, 13)), DARK_GOLD),
            (polygon((2, 6.5), (15.5, 6.5), (13.5, 13), (1.2, 13)), GOLD)]


def save_file():
    return [(rounded(1.5, 1.5, 14.5, 14.5, 1.2), BLUE), (rect(4, 2.5, 12, 7), WHITE), (rect(9.5, 3.2, 11, 6.2), BLUE),
            (rect(4, 9.5, 12, 14.5), LIGHT_GREY)]


def close_file():
    return page() + [(line(5, 5, 11, 11, 2.2), RED), (line(11, 5, 5, 11, 2.2), RED)]


def about():
    return [(circle(8, 8, 7), BLUE), (circle(8, 4.6, 1.3), WHITE), (rect(7, 7, 9, 12.5), WHITE)]


def read_card():
    return card() + [(polygon((8, 15.8), (4.5, 12), (6.8, 12), (6.8, 8.5), (9.2, 8.5), (9.2, 12), (11.5, 12)), GREEN)]


def undo_arrow():
    """A blue arch turning back to the left, with its arrowhead pointing down at the left end."""
    arch = minus(ring(9, 10, 4.5, 2.2), rect(0, 10, 16, 16))
    head = polygon((0.8, 9.5), (8.2, 9.5), (4.5, 14))
    return [(union(arch, head), BLUE)]


def redo_arrow():
    """The undo arrow mirrored: turning forward to the right."""
    arch = minus(ring(7, 10, 4.5, 2.2), rect(0, 10, 16, 16))
    head = polygon((7.8, 9.5), (15.2, 9.5), (11.5, 14))
    return [(union(arch, head), BLUE)]


# The tool bar's buttons: New, Open, Save, Close, About, Read from card, Undo, Redo.
TOOLBAR = [new_file(), open_file(), save_file(), close_file(), about(), read_card(), undo_arrow(), redo_arrow()]


def empty():
    return []


def hammer_bell():
    return bell(scale=0.8, ox=4, oy=3) + [(line(1.5, 2, 7, 7.5, 1.6), DARK_GOLD), (rounded(0.5, 0.5, 4.5, 4, 0.8), INK)]


def contact(up):
    arrow = (polygon((12, 2), (15.5, 6.5), (8.5, 6.5)) if up else polygon((12, 14), (15.5, 9.5), (8.5, 9.5)))
    return [(rect(1, 12, 7, 13.5), INK), (circle(2, 12.7, 1.4), INK), (circle(7, 12.7, 1.4), INK),
            (line(2, 12.5, 7, 7 if up else 11, 1.3), INK), (arrow, GREEN if up else RED),
            (rect(11.2, 6 if up else 4, 12.8, 11 if up else 10), GREEN if up else RED)]


def stacked_pages():
    return (outlined(rect(5, 1, 15, 11), rect(6, 2, 14, 10), INK, LIGHT_BLUE)
            + outlined(rect(3, 3, 13, 13), rect(4, 4, 12, 12), INK, PAPER)
            + outlined(rect(1, 5, 11, 15), rect(2, 6, 10, 14), INK, WHITE) + [(rect(3.5, 8, 8.5, 9), GREY),
                                                                               (rect(3.5, 10.5, 8.5, 11.5), GREY)])


def crossed_bell():
    return bell(scale=0.85, ox=0, oy=0) + [(line(1, 1, 14, 14, 1.6), RED),
                                           (rect(9.5, 9, 15.5, 10.5), INK), (rect(11.8, 9, 13.2, 15.5), INK)]


def cross():
    return [(line(3, 3, 13, 13, 2.4), RED), (line(13, 3, 3, 13, 2.4), RED)]


# The program lists' action icons, by the index the list takes for each action: 1 bells, 3 melody, 4 and 5 the
# output switched off and on, 7 sequence, 8 hammer, 11 silence, 13 none or unknown.
ACTIONS = [empty(), bell(), empty(), note(), contact(False), contact(True), empty(), stacked_pages(), hammer_bell(),
           empty(), empty(), crossed_bell(), empty(), cross()]


def add_item():
    return [(circle(8, 8, 7), GREEN), (rect(7, 3.5, 9, 12.5), WHITE), (rect(3.5, 7, 12.5, 9), WHITE)]


def delete_item():
    return [(circle(8, 8, 7), RED), (rect(3.5, 7, 12.5, 9), WHITE)]


def copy_item():
    return (outlined(rect(5, 1, 15, 11), rect(6, 2, 14, 10), INK, PAPER)
            + outlined(rect(1, 5, 11, 15), rect(2, 6, 10, 14), INK, LIGHT_BLUE))


# The list pages' buttons: Add, Delete, Copy.
BUTTONS = [add_item(), delete_item(), copy_item()]


def critical_error():
    return [(circle(8, 8, 7), RED), (line(5.2, 5.2, 10.8, 10.8, 2.2), WHITE), (line(10.8, 5.2, 5.2, 10.8, 2.2), WHITE)]


def warning_sign():
    return [(polygon((8, 0.8), (15.6, 14.6), (0.4, 14.6)), DARK_GOLD), (polygon((8, 3), (13.8, 13.5), (2.2, 13.5)),
                                                                          (250, 200, 50)),
            (rect(7.2, 5.8, 8.8, 10.4), INK), (rect(7.2, 11.2, 8.8, 12.7), INK)]


def information():
    return [(circle(8, 8, 7), BLUE), (circle(8, 4.6, 1.3), WHITE), (rect(7, 7, 9, 12.5), WHITE)]


# The report's severity icons, by severity: 0 critical error, 1 warning, 2 note.
SEVERITY = [critical_error(), warning_sign(), information()]


def strip(icons, name):
    canvas = Canvas(16 * len(icons), 16)
    for i, icon in enumerate(icons):
        for shape, colour in icon:
            canvas.paint(shape, colour, dx=16 * i, bounds=(16 * i, 0, 16 * (i + 1), 16))
    canvas.write(name)


def picture(parts, size, name, background=None, scale=1.0):
    canvas = Canvas(size[0], size[1], background)
    for shape, colour in parts:
        canvas.paint(lambda x, y, s=shape: s(x / scale, y / scale), colour)
    canvas.write(name)


def splash():
    """The splash picture: a bell in a tower window on a blue evening sky, with room for the version line below."""
    width, height = 420, 240
    canvas = Canvas(width, height)
    for y in range(height):
        t = y / height
        colour = (int(30 + 30 * t), int(60 + 60 * t), int(120 + 80 * t))
        for x in range(width):
            canvas.pixels[y * width + x] = [*colour, 255]
    global SAMPLES
    saved, SAMPLES = SAMPLES, 2
    canvas.paint(polygon((150, 240), (150, 70), (210, 20), (270, 70), (270, 240)), (205, 190, 160), bounds=(150, 20, 270, 240))
    canvas.paint(union(rounded(172, 80, 248, 200, 34)), (60, 45, 35), bounds=(172, 80, 248, 200))
    for shape, colour in bell(scale=3.4, ox=183, oy=100):
        canvas.paint(shape, colour, bounds=(183, 100, 240, 162))
    canvas.paint(rect(0, 200, width, height), (25, 35, 60), alpha=0.55)
    SAMPLES = saved
    canvas.write("splash.png")


def monitor():
    return [(rounded(2, 4, 46, 34, 3), INK), (rect(5, 7, 43, 31), LIGHT_BLUE), (rect(8, 10, 30, 14), BLUE),
            (rect(8, 17, 38, 19), WHITE), (rect(8, 22, 34, 24), WHITE), (rect(20, 34, 28, 40), INK),
            (rounded(12, 40, 36, 44, 2), INK)]


def moved(parts, scale, ox, oy):
    """Shapes drawn for a 16-unit cell, placed at (ox, oy) and scaled."""
    return [(lambda x, y, s=shape: s((x - ox) / scale, (y - oy) / scale), colour) for shape, colour in parts]


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def app_icon(with_card):
    """The desktop icon, in a 64-unit square: a bell in the arched window of a tower against an evening sky; the
    launcher's carries a memory card in front, since it starts the editor that fits a card."""
    tile = rounded(2, 2, 62, 62, 12)
    parts = []
    for band in range(30):
        t = band / 29
        colour = (int(30 + 40 * t), int(60 + 70 * t), int(120 + 90 * t))
        parts.append((both(tile, rect(0, 2 + band * 2, 64, 2 + (band + 1) * 2 + 0.5)), colour))
    parts.append((both(tile, polygon((17, 64), (17, 25), (32, 9), (47, 25), (47, 64))), (205, 190, 160)))
    parts.append((both(tile, rect(17, 25, 47, 27)), (170, 150, 120)))
    parts.append((rounded(22.5, 29, 41.5, 56, 9.5), (60, 45, 35)))
    parts += moved(bell(), 1.15, 32 - 8 * 1.15, 31)
    if with_card:
        parts += moved(card(), 1.7, 37, 34)
    return parts


def desktop_icons():
    global SAMPLES
    folder = os.path.join("..", "..", "packaging", "icons")
    for size in (48, 256):
        saved, SAMPLES = SAMPLES, 4 if size <= 48 else 2
        for name, with_card in (("example.nesmar.Tolvane", False), ("example.nesmar.TolvaneManager", True)):
            os.makedirs(os.path.join(HERE, folder, "%dx%d" % (size, size)), exist_ok=True)
            picture(app_icon(with_card), (size, size), os.path.join(folder, "%dx%d" % (size, size), name + ".png"),
                    scale=size / 64)
        SAMPLES = saved


if __name__ == "__main__":
    strip(TREE, "icons.png")
    strip(HEADER, "header.png")
    strip(TOOLBAR, "toolbar.png")
    strip(ACTIONS, "actions.png")
    strip(BUTTONS, "buttons.png")
    strip(SEVERITY, "severity.png")
    picture(bell(), (48, 48), "bell.png", scale=3.0)
    picture(monitor(), (48, 48), "monitor.png")
    splash()
    desktop_icons()
