#!/usr/bin/env python3
"""Draws Netvane's icon and arrow-button bitmaps and writes them into resources/.

Run once after changing a picture; the outputs are committed, so the build needs no Python.
Standard library only, and deterministic: the same script writes the same bytes.

    python3 scripts/make-resources.py [output folder]
"""
import math
import os
import struct
import sys

SUPERSAMPLE = 8  # samples per pixel along each axis, for smooth edges


# --- A tiny rasteriser: shapes are predicates over (x, y), painted by coverage. ------------

class Canvas:
    """RGBA pixels (premultiplied floats, 0..1), painted with anti-aliased shapes."""

    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        fill = (0.0, 0.0, 0.0, 0.0) if background is None else (*_unit(background), 1.0)
        self.pixels = [[list(fill) for _ in range(width)] for _ in range(height)]

    def fill(self, inside, colour, bounds=None):
        """Paints `colour` (RGB 0..255, or a function of x, y giving one) where `inside`."""
        x0, y0, x1, y1 = bounds or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        n = SUPERSAMPLE
        offsets = [(i + 0.5) / n for i in range(n)]
        for py in range(y0, y1):
            for px in range(x0, x1):
                covered = sum(1 for sy in offsets for sx in offsets if inside(px + sx, py + sy))
                if not covered:
                    continue
                a = covered / (n * n)
                rgb = _unit(colour(px + 0.5, py + 0.5) if callable(colour) else colour)
                p = self.pixels[py][px]
                for k in range(3):
                    p[k] = rgb[k] * a + p[k] * (1 - a)
                p[3] = a + p[3] * (1 - a)

    def set(self, x, y, colour):
        """Sets one pixel exactly (for pixel-precise lines such as borders)."""
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = [*_unit(colour), 1.0]

    def rgba(self, x, y):
        """The pixel as straight (not premultiplied) RGB 0..255 and alpha 0..1."""
        r, g, b, a = self.pixels[y][x]
        if a <= 0:
            return (0, 0, 0), 0.0
        return tuple(min(255, int(round(c / a * 255))) for c in (r, g, b)), a


def _unit(rgb):
    return tuple(c / 255.0 for c in rgb)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def segment(ax, ay, bx, by, width):
    """A straight stroke with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9
    half2 = (width / 2) ** 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half2
    return inside


def polygon(points):
    """Even-odd rule."""
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


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(u + (v - u) * t)) for u, v in zip(c0, c1))


# --- The application icon: two computers linked to a globe. ----------------------------------

OUTLINE = (40, 48, 64)
CABLE = (230, 160, 20)


def draw_globe(c, cx, cy, r, line):
    """An ocean sphere lit from the upper left, green land, and a few grid lines."""
    sphere = circle(cx, cy, r)
    c.fill(circle(cx, cy, r + line), OUTLINE, (cx - r - 2, cy - r - 2, cx + r + 2, cy + r + 2))

    def ocean(x, y):
        d = math.hypot(x - (cx - r * 0.4), y - (cy - r * 0.4)) / (r * 1.6)
        return mix((120, 200, 255), (20, 80, 190), d)

    box = (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1)
    c.fill(sphere, ocean, box)

    def land(x, y):
        d = math.hypot(x - (cx - r * 0.4), y - (cy - r * 0.4)) / (r * 1.6)
        return mix((130, 220, 90), (30, 130, 40), d)

    s = r / 8.0  # continents are laid out on a radius-8 globe
    continents = [
        polygon([(cx + s * px, cy + s * py) for px, py in pts]) for pts in (
            # a large western landmass
            [(-6.5, -4.0), (-3.0, -6.0), (-0.5, -5.0), (-1.5, -2.5), (-3.0, -1.0),
             (-2.0, 1.0), (-3.5, 2.0), (-5.5, 0.5), (-7.5, -1.0)],
            # its southern tail
            [(-2.5, 2.0), (-0.5, 2.5), (-0.5, 4.5), (-2.0, 7.0), (-3.0, 4.5)],
            # an eastern landmass
            [(1.5, -6.5), (5.5, -5.0), (7.5, -2.0), (5.0, -0.5), (4.5, 2.5),
             (2.5, 4.5), (1.5, 1.5), (0.5, -1.5), (2.5, -3.0)],
        )
    ]
    for shape in continents:
        c.fill(both(sphere, shape), land, box)

    # Meridian and parallels, faint, for the globe look.
    grid = (200, 235, 255)
    if r >= 6:
        c.fill(both(sphere, minus(ellipse(cx, cy, r * 0.45 + 0.4, r), ellipse(cx, cy, r * 0.45 - 0.4, r - 0.8))),
               grid, box)
        c.fill(both(sphere, rect(cx - r, cy - 0.35, cx + r, cy + 0.35)), grid, box)
    else:
        c.fill(both(sphere, rect(cx - 0.4, cy - r, cx + 0.4, cy + r)), grid, box)

    # A highlight on the lit side.
    c.fill(ellipse(cx - r * 0.45, cy - r * 0.5, r * 0.28, r * 0.18), (235, 248, 255), box)


def draw_monitor(c, x0, y0, w, h, pixel):
    """A monitor: light bezel, blue screen with a reflection, neck and foot."""
    x1, y1 = x0 + w, y0 + h
    bezel = rounded_rect(x0, y0, x1, y1, 1.2 * pixel)
    c.fill(bezel, OUTLINE, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))
    c.fill(rounded_rect(x0 + pixel, y0 + pixel, x1 - pixel, y1 - pixel, 0.6 * pixel),
           lambda x, y: mix((235, 235, 240), (170, 175, 190), (y - y0) / h),
           (x0, y0, x1, y1))
    sx0, sy0, sx1, sy1 = x0 + 2 * pixel, y0 + 2 * pixel, x1 - 2 * pixel, y1 - 2 * pixel
    c.fill(rect(sx0, sy0, sx1, sy1),
           lambda x, y: mix((90, 170, 250), (10, 50, 150), (y - sy0) / (sy1 - sy0)),
           (sx0, sy0, sx1, sy1))
    # Reflection: a pale band across the upper left of the screen.
    c.fill(both(rect(sx0, sy0, sx1, sy1),
                polygon([(sx0, sy0), (sx0 + (sx1 - sx0) * 0.55, sy0), (sx0, sy1 - (sy1 - sy0) * 0.3)])),
           (150, 205, 255), (sx0, sy0, sx1, sy1))
    # Neck and foot.
    mid = (x0 + x1) / 2
    c.fill(rect(mid - 1.5 * pixel, y1, mid + 1.5 * pixel, y1 + 1.5 * pixel), OUTLINE)
    c.fill(rect(mid - 0.5 * pixel, y1, mid + 0.5 * pixel, y1 + 1.5 * pixel), (150, 155, 170))
    c.fill(rounded_rect(mid - w * 0.33, y1 + 1.5 * pixel, mid + w * 0.33, y1 + 3 * pixel, 0.7 * pixel),
           OUTLINE)
    c.fill(rect(mid - w * 0.33 + pixel, y1 + 1.5 * pixel, mid + w * 0.33 - pixel, y1 + 2 * pixel + 0.2),
           (190, 195, 210))


def draw_small_monitor(c, x0, y0):
    """A 7x7 monitor for the 16-pixel image: outline, screen, neck and foot."""
    c.fill(rect(x0, y0, x0 + 7, y0 + 5), OUTLINE)
    c.fill(rect(x0 + 1, y0 + 1, x0 + 6, y0 + 4),
           lambda x, y: mix((110, 185, 250), (20, 70, 170), (y - y0 - 1) / 3))
    c.set(x0 + 1, y0 + 1, (190, 225, 255))
    c.fill(rect(x0 + 3, y0 + 5, x0 + 4, y0 + 6), OUTLINE)
    c.fill(rect(x0 + 1, y0 + 6, x0 + 6, y0 + 7), OUTLINE)


def draw_icon(size):
    c = Canvas(size, size)
    if size >= 32:
        # A cable from the globe down to a hub between the two monitors.
        c.fill(segment(16, 14, 16, 23.5, 3.0), OUTLINE)
        c.fill(segment(10, 23.5, 22, 23.5, 3.0), OUTLINE)
        c.fill(segment(16, 14, 16, 23.5, 1.4), CABLE)
        c.fill(segment(10, 23.5, 22, 23.5, 1.4), CABLE)
        draw_globe(c, 16, 9.0, 8.0, 1.0)
        draw_monitor(c, 0.5, 17.5, 13, 10, 1.0)
        draw_monitor(c, 18.5, 17.5, 13, 10, 1.0)
        c.fill(circle(16, 23.5, 2.2), OUTLINE)
        c.fill(circle(16, 23.5, 1.3), (255, 215, 90))
    else:
        # At 16 pixels every line sits on the pixel grid, or it blurs.
        draw_globe(c, 8, 4.5, 4.3, 0.8)
        c.fill(rect(7, 8, 9, 13), CABLE)
        draw_small_monitor(c, 0, 9)
        draw_small_monitor(c, 9, 9)
    return c


def palettise(canvases):
    """One palette of at most 256 colours for the opaque pixels, each pixel's index and its
    transparency. Close colours are merged by dropping low bits until 256 remain."""
    opaque = []
    for c in canvases:
        for y in range(c.height):
            for x in range(c.width):
                rgb, a = c.rgba(x, y)
                if a >= 0.5:
                    opaque.append(rgb)
    for shift in range(0, 8):
        buckets = {}
        for rgb in opaque:
            buckets.setdefault(tuple(v >> shift for v in rgb), []).append(rgb)
        if len(buckets) <= 256:
            break
    keys = sorted(buckets)
    palette = [tuple(int(round(sum(p[k] for p in buckets[key]) / len(buckets[key]))) for k in range(3))
               for key in keys]
    index_of = {key: i for i, key in enumerate(keys)}
    images = []
    for c in canvases:
        rows = []
        for y in range(c.height):
            row = []
            for x in range(c.width):
                rgb, a = c.rgba(x, y)
                row.append(index_of[tuple(v >> shift for v in rgb)] if a >= 0.5 else None)
            rows.append(row)
        images.append(rows)
    return palette, images


def ico_bytes(sizes):
    """An ICO file with one 256-colour image (colour bitmap plus AND mask) per size."""
    canvases = [draw_icon(s) for s in sizes]
    palette, images = palettise(canvases)
    palette = palette + [(0, 0, 0)] * (256 - len(palette))
    blobs = []
    for size, rows in zip(sizes, images):
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
        colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
        xor_stride = (size + 3) & ~3
        and_stride = ((size + 31) // 32) * 4
        xor, mask = b'', b''
        for row in reversed(rows):  # bottom-up
            xor += bytes(0 if i is None else i for i in row) + b'\0' * (xor_stride - size)
            bits = bytearray(and_stride)
            for x, i in enumerate(row):
                if i is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        blobs.append(header + colours + xor + mask)
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, blob in zip(sizes, blobs):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


# --- The arrow buttons: normal, pressed, focused, disabled, side by side. ---------------------

FACE = (240, 240, 240)
HILIGHT = (255, 255, 255)
LIGHT = (227, 227, 227)
SHADOW = (160, 160, 160)
DARK_SHADOW = (105, 105, 105)
FRAME_W, FRAME_H = 27, 26


def draw_border(c, left, sunken):
    """The classic two-line 3D edge of a push button, raised or pushed in."""
    r, b = left + FRAME_W - 1, FRAME_H - 1
    outer_tl, outer_br, inner_tl, inner_br = (
        (DARK_SHADOW, HILIGHT, SHADOW, LIGHT) if sunken else (HILIGHT, DARK_SHADOW, LIGHT, SHADOW))
    for x in range(left, r + 1):
        c.set(x, 0, outer_tl)
        c.set(x, b, outer_br)
    for y in range(0, b + 1):
        c.set(left, y, outer_tl)
        c.set(r, y, outer_br)
    c.set(r, 0, outer_br)
    c.set(left, b, outer_br)
    for x in range(left + 1, r):
        c.set(x, 1, inner_tl)
        c.set(x, b - 1, inner_br)
    for y in range(1, b):
        c.set(left + 1, y, inner_tl)
        c.set(r - 1, y, inner_br)
    c.set(r - 1, 1, inner_br)
    c.set(left + 1, b - 1, inner_br)


def arrow_points(left, dx, dy, down):
    """An arrow centred in the frame: a wide head over a shaft, pointing up or down."""
    cx = left + FRAME_W / 2 + dx
    pts = [(0, -8.5), (8.5, 0), (3.5, 0), (3.5, 8.5), (-3.5, 8.5), (-3.5, 0), (-8.5, 0)]
    cy = FRAME_H / 2 + 0.5 + dy
    return [(cx + x, cy + (-y if down else y)) for x, y in pts]


def inset(points, by):
    """The polygon's outline moved inwards by `by` (edges offset along their normals)."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
               for i in range(n))
    sign = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        length = math.hypot(x1 - x0, y1 - y0)
        nx, ny = -(y1 - y0) / length * sign, (x1 - x0) / length * sign
        lines.append(((x0 + nx * by, y0 + ny * by), (x1 - x0, y1 - y0)))
    result = []
    for i in range(n):
        (p, d), (q, e) = lines[i - 1], lines[i]
        det = d[0] * e[1] - d[1] * e[0]
        t = ((q[0] - p[0]) * e[1] - (q[1] - p[1]) * e[0]) / det
        result.append((p[0] + d[0] * t, p[1] + d[1] * t))
    return result


def draw_arrow_frame(c, index, down):
    left = index * FRAME_W
    pressed, focused, disabled = index == 1, index == 2, index == 3
    face = (225, 225, 225) if pressed else FACE
    c.fill(rect(left, 0, left + FRAME_W, FRAME_H), face, (left, 0, left + FRAME_W, FRAME_H))
    shift = 1 if pressed else 0
    outline = arrow_points(left, shift, shift, down)
    box = (left + 2, 2, left + FRAME_W - 2, FRAME_H - 2)
    top, bottom = min(y for _, y in outline), max(y for _, y in outline)
    if disabled:
        c.fill(polygon(arrow_points(left, 1, 1, down)), HILIGHT, box)
        c.fill(polygon(outline), SHADOW, box)
    else:
        light, deep, edge = ((70, 200, 70), (0, 130, 20), (0, 90, 10))
        if pressed:
            light, deep, edge = mix(light, (0, 0, 0), 0.2), mix(deep, (0, 0, 0), 0.2), (0, 65, 5)

        def body(x, y):
            t = (y - top) / (bottom - top)
            return mix(light, deep, 1 - t if down else t)

        c.fill(polygon(outline), edge, box)
        c.fill(polygon(inset(outline, 1.0)), body, box)
    draw_border(c, left, pressed)
    if focused:
        # A dotted focus rectangle, every other pixel, as DrawFocusRect draws it.
        x0, y0, x1, y1 = left + 3, 3, left + FRAME_W - 4, FRAME_H - 4
        for x in range(x0, x1 + 1):
            for y in (y0, y1):
                if (x + y) % 2 == 0:
                    c.set(x, y, (0, 0, 0))
        for y in range(y0, y1 + 1):
            for x in (x0, x1):
                if (x + y) % 2 == 0:
                    c.set(x, y, (0, 0, 0))


def bmp_bytes(c):
    """A 24-bit bottom-up BMP file."""
    stride = (c.width * 3 + 3) & ~3
    data = b''
    for y in reversed(range(c.height)):
        row = b''
        for x in range(c.width):
            (r, g, b), _ = c.rgba(x, y)
            row += bytes((b, g, r))
        data += row + b'\0' * (stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, c.width, c.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def arrow_strip(down):
    c = Canvas(FRAME_W * 4, FRAME_H, FACE)
    for index in range(4):
        draw_arrow_frame(c, index, down)
    return bmp_bytes(c)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'resources')
    os.makedirs(out, exist_ok=True)
    outputs = {
        'netvane.ico': ico_bytes([32, 16]),
        'arrow_up.bmp': arrow_strip(down=False),
        'arrow_down.bmp': arrow_strip(down=True),
    }
    for name, data in outputs.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)
        print(f'{name}: {len(data)} bytes')


if __name__ == '__main__':
    main()
