#!/usr/bin/env python3
"""Draws the program's artwork and writes it beside this script.

Outputs: inkmoss.ico (one 96 x 89 image, 32 bpp), about_square.png (256 x 256)
and about_tall.png (200 x 300), both RGBA. Every shape is a signed distance
field, so edges get analytic anti-aliasing without supersampling, and the
output is byte-for-byte the same on every run.

Run: python3 assets/make_assets.py
"""

import math
import struct
import zlib
from pathlib import Path

OUT_DIR = Path(__file__).resolve().parent


def hex_rgb(code):
    return tuple(int(code[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


NAVY_EDGE = hex_rgb("#06214F")
COVER_LIGHT = hex_rgb("#2A6FD6")
COVER_DARK = hex_rgb("#0B3680")
SPINE = hex_rgb("#082A66")
PAPER_LIGHT = hex_rgb("#FFF9EA")
PAPER_DARK = hex_rgb("#EEDFBB")
PAPER_EDGE = hex_rgb("#B59A62")
MOSS_LIGHT = hex_rgb("#A9D65A")
MOSS = hex_rgb("#5E9A2E")
MOSS_DARK = hex_rgb("#2E5A14")
INK_LIGHT = hex_rgb("#3C8CF0")
INK_DARK = hex_rgb("#0A2C78")
EMBER = hex_rgb("#FF9A2E")
EMBER_DARK = hex_rgb("#C8610E")
RULE_BLUE = hex_rgb("#9DB8E2")
WHITE = (1.0, 1.0, 1.0)
BLACK = (0.0, 0.0, 0.0)


# ---------------------------------------------------------------- geometry

class Shape:
    """A signed distance function (negative inside) with a bounding box."""

    def __init__(self, sdf, bounds):
        self.sdf = sdf
        self.bounds = bounds

    def __or__(self, other):
        a, b = self.bounds, other.bounds
        return Shape(lambda x, y: min(self.sdf(x, y), other.sdf(x, y)),
                     (min(a[0], b[0]), min(a[1], b[1]),
                      max(a[2], b[2]), max(a[3], b[3])))

    def __and__(self, other):
        a, b = self.bounds, other.bounds
        return Shape(lambda x, y: max(self.sdf(x, y), other.sdf(x, y)),
                     (max(a[0], b[0]), max(a[1], b[1]),
                      min(a[2], b[2]), min(a[3], b[3])))

    def __sub__(self, other):
        return Shape(lambda x, y: max(self.sdf(x, y), -other.sdf(x, y)),
                     self.bounds)

    def grown(self, amount):
        """Offsets the outline outwards (inwards for a negative amount)."""
        x0, y0, x1, y1 = self.bounds
        return Shape(lambda x, y: self.sdf(x, y) - amount,
                     (x0 - amount, y0 - amount, x1 + amount, y1 + amount))

    def shifted(self, dx, dy):
        x0, y0, x1, y1 = self.bounds
        return Shape(lambda x, y: self.sdf(x - dx, y - dy),
                     (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def round_box(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        return (math.hypot(max(qx, 0.0), max(qy, 0.0))
                + min(max(qx, qy), 0.0) - r)
    return Shape(sdf, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry):
    # Not an exact distance, but close enough near the outline for soft glints.
    k = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1) * k,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def _segment_distance(x, y, ax, ay, bx, by):
    px, py, dx, dy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - dx * t, py - dy * t)


def stroke(points, width):
    """A round-capped polyline of the given width."""
    r = width / 2
    pairs = list(zip(points, points[1:]))

    def sdf(x, y):
        return min(_segment_distance(x, y, a[0], a[1], b[0], b[1])
                   for a, b in pairs) - r
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r))


def polygon(points):
    n = len(points)

    def sdf(x, y):
        d = math.inf
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i - 1]
            d = min(d, _segment_distance(x, y, ax, ay, bx, by) ** 2)
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return -math.sqrt(d) if inside else math.sqrt(d)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def half_plane(ax, ay, bx, by):
    """Everything left of the directed line a -> b (y pointing down)."""
    length = math.hypot(bx - ax, by - ay)
    nx, ny = (by - ay) / length, (ax - bx) / length
    big = 1e4
    return Shape(lambda x, y: (x - ax) * nx + (y - ay) * ny,
                 (-big, -big, big, big))


def lens(cx, cy, length, width, angle):
    """A leaf-shaped lens: two circular arcs meeting in points at both tips."""
    half, w = length / 2, width / 2
    offset = (half * half - w * w) / (2 * w)
    radius = offset + w
    ca, sa = math.cos(angle), math.sin(angle)

    def sdf(x, y):
        u = (x - cx) * ca + (y - cy) * sa
        v = -(x - cx) * sa + (y - cy) * ca
        return max(math.hypot(u, v - offset), math.hypot(u, v + offset)) - radius
    return Shape(sdf, (cx - half, cy - half, cx + half, cy + half))


def drop(cx, cy, r, tip_height):
    """An ink drop: a circle of radius r centred at (cx, cy) with a point
    tip_height above the centre."""
    cos_a = r / tip_height
    sin_a = math.sqrt(1 - cos_a * cos_a)
    tangent_y = cy - r * cos_a
    cone = polygon([(cx, cy - tip_height), (cx + r * sin_a, tangent_y),
                    (cx, cy), (cx - r * sin_a, tangent_y)])
    return circle(cx, cy, r) | cone


def along(ax, ay, bx, by, t):
    return ax + (bx - ax) * t, ay + (by - ay) * t


def curve(p0, p1, p2, steps):
    """Points on a quadratic Bezier curve."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        a = along(*p0, *p1, t)
        b = along(*p1, *p2, t)
        pts.append(along(*a, *b, t))
    return pts


# ------------------------------------------------------------------- paint

def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def linear(ax, ay, c0, bx, by, c1):
    dx, dy = bx - ax, by - ay
    norm = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - ax) * dx + (y - ay) * dy) / norm)


def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, math.hypot(x - cx, y - cy) / r)


class Canvas:
    """Premultiplied-alpha float pixels, composited with 'over'."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, paint, opacity=1.0, softness=1.0):
        """Paints the shape; softness widens the edge ramp (for shadows)."""
        x0, y0, x1, y1 = shape.bounds
        pad = softness
        xa, xb = max(0, math.floor(x0 - pad)), min(self.width, math.ceil(x1 + pad))
        ya, yb = max(0, math.floor(y0 - pad)), min(self.height, math.ceil(y1 + pad))
        for y in range(ya, yb):
            fy = y + 0.5
            row = y * self.width
            for x in range(xa, xb):
                fx = x + 0.5
                cover = 0.5 - shape.sdf(fx, fy) / softness
                if cover <= 0.0:
                    continue
                colour = paint(fx, fy) if callable(paint) else paint
                alpha = min(cover, 1.0) * opacity
                if len(colour) == 4:
                    alpha *= colour[3]
                dst = self.px[row + x]
                keep = 1.0 - alpha
                dst[0] = colour[0] * alpha + dst[0] * keep
                dst[1] = colour[1] * alpha + dst[1] * keep
                dst[2] = colour[2] * alpha + dst[2] * keep
                dst[3] = alpha + dst[3] * keep

    def rgba_rows(self):
        """Straight-alpha 8-bit rows, top row first, each a list of tuples."""
        def byte(v):
            return max(0, min(255, int(v * 255.0 + 0.5)))
        rows = []
        for y in range(self.height):
            row = []
            for r, g, b, a in self.px[y * self.width:(y + 1) * self.width]:
                alpha = byte(a)
                if alpha == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((byte(r / a), byte(g / a), byte(b / a), alpha))
            rows.append(row)
        return rows


# --------------------------------------------------------------- encoders

def encode_png(canvas):
    def chunk(kind, data):
        body = kind + data
        return (struct.pack(">I", len(data)) + body
                + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    raw = bytearray()
    for row in canvas.rgba_rows():
        raw.append(0)
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def encode_ico(canvas):
    """One uncompressed 32 bpp image with its AND mask, as the oldest icon
    readers expect: BGRA rows bottom-up and a height field counting both
    the colour rows and the mask rows."""
    w, h = canvas.width, canvas.height
    rows = canvas.rgba_rows()[::-1]
    colour = bytearray()
    for row in rows:
        for r, g, b, a in row:
            colour.extend((b, g, r, a))
    mask_stride = (w + 31) // 32 * 4
    mask = bytearray()
    for row in rows:
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.extend(bits)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    image = info + colour + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


# ---------------------------------------------------------------- artwork

def draw_icon():
    """A closed notebook with a moss-green ink drop on the cover. Shapes stay
    bold so the picture still reads when the tray shrinks it to 16 pixels."""
    c = Canvas(96, 89)
    pages = round_box(20, 7, 88, 86, 9)
    cover = round_box(8, 3, 80, 82, 10)
    c.fill((pages | cover).grown(1.2), NAVY_EDGE)
    c.fill(pages, linear(0, 10, PAPER_LIGHT, 0, 86, PAPER_DARK))
    for edge in (82.5, 85.0):
        c.fill(stroke([(edge, 14), (edge, 80)], 0.9), PAPER_EDGE, opacity=0.7)
    c.fill(stroke([(28, 84.0), (76, 84.0)], 0.9), PAPER_EDGE, opacity=0.7)

    c.fill(cover.grown(-1.4), linear(10, 4, COVER_LIGHT, 70, 82, COVER_DARK))
    spine = cover.grown(-1.4) & half_plane(22, 0, 22, 100)
    c.fill(spine, SPINE)
    c.fill(stroke([(22.5, 6), (22.5, 79)], 1.4), COVER_LIGHT, opacity=0.8)
    c.fill(stroke([(27, 8.5), (74, 8.5)], 2.2), WHITE, opacity=0.22)

    band = round_box(64, 1.5, 71, 83.5, 2)
    c.fill(band.grown(0.8), EMBER_DARK)
    c.fill(band, linear(64, 0, EMBER, 71, 0, EMBER_DARK))

    ink = drop(43, 53, 16, 36)
    c.fill(ink.grown(1.6), NAVY_EDGE)
    c.fill(ink, radial(37, 44, 30, MOSS_LIGHT, MOSS_DARK))
    c.fill(ellipse(36.5, 48, 4.2, 7), WHITE, opacity=0.55)
    c.fill(circle(50, 61, 2.2), WHITE, opacity=0.35)
    return c


def draw_square():
    """An ink drop falling from a quill onto a moss leaf, inside a pale disc."""
    c = Canvas(256, 256)
    disc = circle(128, 128, 122)
    c.fill(disc, radial(110, 100, 150, PAPER_LIGHT, hex_rgb("#D8EDC0")),
           opacity=0.82)
    c.fill(disc - disc.grown(-4), WHITE, opacity=0.55)
    for x, y, r, a in ((40, 70, 10, 0.45), (62, 44, 6, 0.35), (208, 196, 8, 0.4),
                       (224, 170, 4.5, 0.35), (52, 190, 5, 0.3)):
        bubble = circle(x, y, r)
        c.fill(bubble, WHITE, opacity=a)
        c.fill(bubble - bubble.grown(-1.5), WHITE, opacity=0.6)

    angle = math.radians(-45)
    leaf = lens(110, 146, 196, 92, angle)
    c.fill(stroke([(40, 216), (22, 236)], 5), MOSS_DARK)
    c.fill(leaf.shifted(4, 6), BLACK, opacity=0.18, softness=8)
    c.fill(leaf, linear(40, 216, MOSS_DARK, 170, 80, MOSS_LIGHT))
    c.fill(leaf - leaf.grown(-2.5), MOSS_DARK, opacity=0.55)
    c.fill(leaf & stroke([(42, 214), (174, 82)], 3.2), hex_rgb("#DDF0A8"),
           opacity=0.85)
    for t in (0.22, 0.4, 0.58, 0.76):
        bx, by = along(42, 214, 174, 82, t)
        for side in (-1, 1):
            # Veins sweep towards the tip, at 40 degrees off the midrib.
            vein_angle = angle + side * math.radians(40)
            tx, ty = bx + 60 * math.cos(vein_angle), by + 60 * math.sin(vein_angle)
            vein = stroke([(bx, by), (tx, ty)], 1.8)
            c.fill(leaf.grown(-6) & vein, hex_rgb("#DDF0A8"), opacity=0.55)

    ink = drop(164, 184, 30, 68)
    c.fill(ellipse(166, 220, 34, 8), INK_DARK, opacity=0.3, softness=6)
    c.fill(ink.grown(2), NAVY_EDGE, opacity=0.9)
    c.fill(ink, radial(152, 166, 56, INK_LIGHT, INK_DARK))
    c.fill(ellipse(150, 174, 8, 14), WHITE, opacity=0.6)
    c.fill(circle(178, 200, 4), WHITE, opacity=0.4)

    # The quill runs from its top end q down to the nib's point, which hangs
    # just above the drop's tip as if the drop had just fallen from it.
    qx, qy, nib_x, nib_y = 244.0, 14.0, 164.0, 104.0
    length = math.hypot(nib_x - qx, nib_y - qy)
    ux, uy = (nib_x - qx) / length, (nib_y - qy) / length
    vane_angle = math.atan2(uy, ux)

    def on_quill(dist, side=0.0):
        return qx + ux * dist - uy * side, qy + uy * dist + ux * side

    feather = lens(*on_quill(50), 96, 38, vane_angle)
    c.fill(feather.shifted(3, 5), BLACK, opacity=0.18, softness=6)
    c.fill(feather, linear(qx, qy, WHITE, nib_x, nib_y, hex_rgb("#D7E3F5")))
    c.fill(feather - feather.grown(-1.6), hex_rgb("#6E89B8"), opacity=0.8)
    for dist in (20, 34, 48, 62, 76):
        sx, sy = on_quill(dist)
        for side in (-1, 1):
            barb_angle = vane_angle + math.pi + side * math.radians(35)
            barb = stroke([(sx, sy), (sx + 30 * math.cos(barb_angle),
                                      sy + 30 * math.sin(barb_angle))], 1.3)
            c.fill(feather.grown(-3) & barb, hex_rgb("#8EA6CF"), opacity=0.7)
    c.fill(stroke([on_quill(-4), on_quill(length - 14)], 3), hex_rgb("#4A5F86"))
    nib = polygon([on_quill(length - 19, -4.5), on_quill(length - 19, 4.5),
                   on_quill(length)])
    c.fill(nib.grown(1), NAVY_EDGE)
    c.fill(nib, linear(*on_quill(length - 19, -4), hex_rgb("#9DB0CF"),
                       *on_quill(length - 19, 4), hex_rgb("#4A5F86")))
    c.fill(stroke([on_quill(length - 12), on_quill(length - 1)], 0.9), NAVY_EDGE)
    return c


def draw_tall():
    """An open diary page with ruled, written lines and a sprig of moss."""
    c = Canvas(200, 300)
    page_box = round_box(16, 12, 184, 284, 10)
    fold = half_plane(184, 246, 146, 284)
    holes = [circle(31, y, 5) for y in (52, 112, 172, 232)]
    page = page_box & fold
    for hole in holes:
        page = page - hole
    c.fill(page.shifted(5, 7), BLACK, opacity=0.35, softness=10)
    c.fill(page, linear(0, 12, PAPER_LIGHT, 0, 284, PAPER_DARK))
    c.fill(page - page.grown(-1.5), PAPER_EDGE, opacity=0.8)
    for hole in holes:
        c.fill(hole.grown(1.5) - hole, PAPER_EDGE, opacity=0.7)

    flap = polygon([(184, 246), (146, 284), (148, 248)])
    c.fill(flap.shifted(-2, -1), BLACK, opacity=0.25, softness=5)
    c.fill(flap, linear(150, 250, hex_rgb("#E3D0A2"), 175, 270, PAPER_LIGHT))
    c.fill(flap - flap.grown(-1.2), PAPER_EDGE, opacity=0.8)

    c.fill(round_box(54, 24, 120, 42, 9), MOSS, opacity=0.9)
    c.fill(stroke([(62, 33), (112, 33)], 3), PAPER_LIGHT, opacity=0.85)

    lines = [66 + 20 * k for k in range(10)]
    for y in lines:
        c.fill(stroke([(46, y), (174, y)], 1.2), RULE_BLUE, opacity=0.9)
    c.fill(stroke([(52, 54), (52, 266)], 1.4), EMBER, opacity=0.8)

    # Handwriting: each word is a wave that swells and fades along its length.
    written = [[(60, 104), (112, 146), (152, 170)],
               [(60, 84), (92, 150)],
               [(60, 122), (130, 168)],
               [(60, 98), (106, 136)]]
    for rule_y, words in zip(lines, written):
        base = rule_y - 6
        for x0, x1 in words:
            steps = max(6, (x1 - x0) // 2)
            xs = [x0 + (x1 - x0) * i / steps for i in range(steps + 1)]
            pts = [(x, base - 3.2 * math.sin(x * 0.55)
                    * math.sin(math.pi * i / steps)) for i, x in enumerate(xs)]
            c.fill(stroke(pts, 1.8), INK_DARK, opacity=0.9)

    stem_pts = curve((92, 292), (72, 236), (132, 196), 16)
    sprig_leaves = [(0.18, 1), (0.3, -1), (0.44, 1), (0.58, -1), (0.72, 1),
                    (0.86, -1)]
    for t, side in sprig_leaves:
        i = int(t * 16)
        (ax, ay), (bx, by) = stem_pts[i], stem_pts[i + 1]
        heading = math.atan2(by - ay, bx - ax) + side * math.radians(55)
        size = 30 - 14 * t
        lx = ax + math.cos(heading) * size * 0.5
        ly = ay + math.sin(heading) * size * 0.5
        leaf = lens(lx, ly, size, size * 0.5, heading)
        c.fill(leaf.grown(1.2), MOSS_DARK)
        c.fill(leaf, linear(ax, ay, MOSS, lx + math.cos(heading) * size * 0.5,
                            ly + math.sin(heading) * size * 0.5, MOSS_LIGHT))
    c.fill(stroke(stem_pts, 3.2), MOSS_DARK)
    c.fill(circle(134, 194, 5), MOSS_LIGHT)
    c.fill(circle(134, 194, 5) - circle(134, 194, 3.8), MOSS_DARK, opacity=0.8)

    for x, y, r, colour in ((78, 290, 11, MOSS_DARK), (96, 286, 13, MOSS),
                            (116, 291, 9, MOSS_DARK), (64, 294, 7, MOSS),
                            (90, 279, 6, MOSS_LIGHT), (106, 281, 5, MOSS_LIGHT),
                            (128, 295, 6, MOSS)):
        tuft = circle(x, y, r)
        c.fill(tuft.grown(1), MOSS_DARK, opacity=0.9)
        c.fill(tuft, radial(x - r * 0.3, y - r * 0.4, r * 1.4, MOSS_LIGHT, colour))
    return c


def main():
    (OUT_DIR / "inkmoss.ico").write_bytes(encode_ico(draw_icon()))
    (OUT_DIR / "about_square.png").write_bytes(encode_png(draw_square()))
    (OUT_DIR / "about_tall.png").write_bytes(encode_png(draw_tall()))


if __name__ == "__main__":
    main()
