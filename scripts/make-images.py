#!/usr/bin/env python3
"""Draws the window pictures and the application icon into resources/images/.

    python3 scripts/make-images.py           # rewrite the files
    python3 scripts/make-images.py --check   # exit 1 if a committed file differs

The output is committed, so a build never runs this. Only the standard library is used, and the
drawing is plain arithmetic (supersampled coverage, no fonts), so the same bytes come out on every
machine.
"""

import math
import struct
import sys
import zlib
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "resources" / "images"

# The main window's background; the pictures sit on it without a frame.
WINDOW_BACK = (236, 237, 236)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
AMBER = (252, 196, 25)
AMBER_EDGE = (214, 150, 0)
GREEN = (52, 168, 83)
GREEN_EDGE = (30, 130, 60)


# ---------------------------------------------------------------------------------------------
# Shapes: each answers whether a point (in pixel units, y down) lies inside it.


def seg_dist2(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return qx * qx + qy * qy


class Polygon:
    def __init__(self, points):
        self.points = points
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside


class Stroke:
    """A polyline of the given width with round caps and joins (closed when asked)."""

    def __init__(self, points, width, closed=False):
        self.segments = list(zip(points, points[1:]))
        if closed:
            self.segments.append((points[-1], points[0]))
        self.r2 = (width / 2.0) ** 2
        r = width / 2.0
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r)

    def contains(self, x, y):
        return any(seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= self.r2 for a, b in self.segments)


class Disc:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r2 = cx, cy, r * r
        self.box = (cx - r, cy - r, cx + r, cy + r)

    def contains(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r2


class RoundRect:
    def __init__(self, left, top, right, bottom, radius):
        self.l, self.t, self.r, self.b, self.rad = left, top, right, bottom, radius
        self.box = (left, top, right, bottom)

    def contains(self, x, y):
        if x < self.l or x > self.r or y < self.t or y > self.b:
            return False
        cx = min(max(x, self.l + self.rad), self.r - self.rad)
        cy = min(max(y, self.t + self.rad), self.b - self.rad)
        return (x - cx) ** 2 + (y - cy) ** 2 <= self.rad * self.rad


class Union:
    def __init__(self, *shapes):
        self.shapes = shapes
        self.box = (
            min(s.box[0] for s in shapes),
            min(s.box[1] for s in shapes),
            max(s.box[2] for s in shapes),
            max(s.box[3] for s in shapes),
        )

    def contains(self, x, y):
        return any(s.contains(x, y) for s in self.shapes)


# ---------------------------------------------------------------------------------------------
# Rendering: layers of (shape, colour) painted in order, with samples x samples coverage per
# pixel. `back` None gives a transparent canvas (RGBA out), otherwise an opaque one (RGB out).


def render(width, height, layers, back, samples=4):
    step = 1.0 / samples
    offsets = [(i + 0.5) * step for i in range(samples)]
    total = samples * samples
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            live = [
                (shape, colour)
                for shape, colour in layers
                if shape.box[0] <= px + 1 and shape.box[2] >= px and shape.box[1] <= py + 1
                and shape.box[3] >= py
            ]
            acc = [0, 0, 0, 0]
            for oy in offsets:
                for ox in offsets:
                    x, y = px + ox, py + oy
                    colour = back
                    for shape, layer_colour in live:
                        if shape.contains(x, y):
                            colour = layer_colour
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            if back is not None:
                row.append(tuple((acc[i] + total // 2) // total for i in range(3)))
            elif acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                # Colour averaged over the covered samples, coverage as alpha: no dark fringe.
                n = acc[3]
                row.append(tuple((acc[i] + n // 2) // n for i in range(3)) + ((255 * n + total // 2) // total,))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------------
# Pictures.


def warning_layers(width, height, mark):
    """A warning triangle filling the picture, with an exclamation mark in `mark`."""
    pad = max(1.5, width * 0.04)
    edge = max(1.5, width * 0.05)
    top = (width / 2.0, pad + edge / 2)
    left = (pad + edge / 2, height - pad - edge / 2)
    right = (width - pad - edge / 2, height - pad - edge / 2)
    outline = Union(Polygon([top, right, left]), Stroke([top, right, left], edge, closed=True))
    inner_edge = edge * 0.35
    inner = Union(Polygon([top, right, left]), Stroke([top, right, left], inner_edge, closed=True))
    cx = width / 2.0
    bar_width = width * 0.105
    bar = Stroke([(cx, height * 0.36), (cx, height * 0.66)], bar_width)
    dot = Disc(cx, height * 0.79, bar_width * 0.62)
    return [(outline, AMBER_EDGE), (inner, AMBER), (bar, mark), (dot, mark)]


def check_layers(width, height):
    cx, cy = width / 2.0, height / 2.0
    r = min(width, height) / 2.0 - 1.5
    rim = Disc(cx, cy, r)
    disc = Disc(cx, cy, r - max(1.5, r * 0.06))
    s = r / 46.0
    tick = Stroke([(cx - 21 * s, cy + 1 * s), (cx - 6 * s, cy + 16 * s), (cx + 22 * s, cy - 15 * s)],
                  11.0 * s)
    return [(rim, GREEN_EDGE), (disc, GREEN), (tick, WHITE)]


# The application icon: a printer with a sheet coming out, and an upward arrow for the upgrade.
PRINTER_BODY = (78, 92, 112)
PRINTER_TOP = (112, 128, 150)
PRINTER_SLOT = (40, 48, 60)
PAPER = (250, 250, 250)
PAPER_LINE = (170, 178, 190)
PAPER_EDGE = (150, 160, 175)
ARROW = (33, 150, 243)
ARROW_EDGE = (255, 255, 255)
LED = (76, 220, 110)


def icon_layers(size):
    u = size / 32.0  # drawn on a 32-unit grid

    def rr(l, t, r, b, rad):
        return RoundRect(l * u, t * u, r * u, b * u, rad * u)

    edge = 0.7 if size >= 32 else 0.0  # sheets get an outline where there is room for one
    layers = [
        (rr(7 - edge, 2 - edge, 21 + edge, 12, 0.8 + edge), PAPER_EDGE),
        (rr(7, 2, 21, 12, 0.8), PAPER),  # sheet waiting in the feeder
        (rr(2, 10, 26, 24, 2.5), PRINTER_BODY),
        (rr(2, 10, 26, 14.5, 2.0), PRINTER_TOP),
        (rr(5, 19, 23, 21, 0.8), PRINTER_SLOT),
        (rr(6.5 - edge, 20, 21.5 + edge, 29.5 + edge, 0.6 + edge), PAPER_EDGE),
        (rr(6.5, 20, 21.5, 29.5, 0.6), PAPER),  # printed sheet
    ]
    if size >= 32:
        layers += [
            (rr(9, 23, 19, 23.9, 0.4), PAPER_LINE),
            (rr(9, 25.5, 17, 26.4, 0.4), PAPER_LINE),
            (Disc(22.5 * u, 16.3 * u, 1.0 * u), LED),
        ]
    # The arrow, with a white rim so it stands out against the body.
    head = [(25 * u, 9 * u), (31.5 * u, 17.5 * u), (27.6 * u, 17.5 * u), (27.6 * u, 29 * u),
            (22.4 * u, 29 * u), (22.4 * u, 17.5 * u), (18.5 * u, 17.5 * u)]
    rim = max(1.0, 1.6 * u)
    layers += [(Union(Polygon(head), Stroke(head, rim, closed=True)), ARROW_EDGE),
               (Polygon(head), ARROW)]
    return layers


# ---------------------------------------------------------------------------------------------
# File formats.


def bmp24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def ico_dib(rows):
    """A 32-bit icon image with its AND mask, as icon resources carry them."""
    size = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def png(rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico(images):
    """`images`: (size, bytes) pairs; 256 is stored as PNG, as the shell expects."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = bytearray()
    data = bytearray()
    for size, blob in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return header + entries + data


def build():
    files = {}
    files["warning-on-window.bmp"] = bmp24(render(97, 90, warning_layers(97, 90, WHITE), WINDOW_BACK))
    files["check-on-window.bmp"] = bmp24(render(98, 93, check_layers(98, 93), WINDOW_BACK))
    files["warning-on-white.bmp"] = bmp24(render(45, 40, warning_layers(45, 40, BLACK), WHITE))
    images = []
    for size in (16, 32, 48, 256):
        rows = render(size, size, icon_layers(size), None, samples=3 if size >= 256 else 4)
        images.append((size, png(rows) if size >= 256 else ico_dib(rows)))
    files["viruzu-fwup.ico"] = ico(images)
    return files


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for name, blob in build().items():
        path = OUT / name
        if check:
            if not path.exists() or path.read_bytes() != blob:
                stale.append(name)
        else:
            OUT.mkdir(parents=True, exist_ok=True)
            path.write_bytes(blob)
            print(f"make-images: {path.relative_to(OUT.parent.parent)} ({len(blob)} bytes)")
    if stale:
        print("make-images: out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
