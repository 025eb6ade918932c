#!/usr/bin/env python3
"""Draws the Velmora emblem and writes it as a Windows icon file.

The emblem is a gold "V" with a soft shadow on a rounded square that runs
from violet at the top to deep indigo at the bottom.  Every size is drawn
from the same vector description at its own resolution (no scaling of a
big bitmap), anti-aliased from signed distances.

The icon holds seven 32-bit images, in this order: 256 (PNG, as Windows
expects for that size), 128, 96, 48, 32, 24 and 16 (BMP DIBs with straight,
non-premultiplied alpha and an AND mask that marks the fully transparent
pixels).

Only the standard library is used.  The output depends on nothing but this
file, so running it again rebuilds velmora.ico byte for byte.

    make_icon.py                 write velmora.ico beside this script
    make_icon.py --check         exit 1 if velmora.ico is not what this draws
    make_icon.py --preview F     also write a PNG contact sheet of all sizes
"""

import argparse
import math
import os
import struct
import sys
import zlib

SIZES = (256, 128, 96, 48, 32, 24, 16)
PNG_SIZES = (256,)

HERE = os.path.dirname(os.path.abspath(__file__))
ICON_PATH = os.path.join(HERE, "velmora.ico")

# Colours (sRGB, 0..255).
TILE_TOP = (139, 92, 246)
TILE_BOTTOM = (40, 22, 104)
TILE_RIM = (24, 12, 66)
GLOSS = (255, 255, 255)
GOLD_TOP = (255, 238, 176)
GOLD_BOTTOM = (236, 168, 38)
GOLD_EDGE = (150, 92, 10)
SHADOW = (10, 4, 30)

# The letter, in coordinates of the tile's inner square (0..1, y down):
# two arms with flat tops that meet in a short flat foot.
V_OUTLINE = (
    (0.150, 0.215), (0.365, 0.215), (0.500, 0.585), (0.635, 0.215),
    (0.850, 0.215), (0.560, 0.805), (0.440, 0.805),
)
# The same letter, heavier and a little larger, as drawn at 16 pixels, where
# the thinner arms would blur into the tile.  Sizes between 16 and 48 pixels
# take a blend of the two outlines.
V_OUTLINE_SMALL = (
    (0.080, 0.215), (0.385, 0.215), (0.500, 0.540), (0.615, 0.215),
    (0.920, 0.215), (0.585, 0.860), (0.415, 0.860),
)
SMALL = 24  # up to this size the shadow is lighter


# ---------------------------------------------------------------- geometry

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def sd_round_box(px, py, cx, cy, hx, hy, r):
    """Signed distance to a rounded rectangle (centre, half sizes, radius)."""
    qx = abs(px - cx) - hx + r
    qy = abs(py - cy) - hy + r
    ox = max(qx, 0.0)
    oy = max(qy, 0.0)
    return math.sqrt(ox * ox + oy * oy) + min(max(qx, qy), 0.0) - r


def sd_polygon(px, py, pts):
    """Signed distance to a simple polygon (negative inside)."""
    n = len(pts)
    d = (px - pts[0][0]) ** 2 + (py - pts[0][1]) ** 2
    sign = 1.0
    j = n - 1
    for i in range(n):
        ax, ay = pts[j]
        bx, by = pts[i]
        ex, ey = ax - bx, ay - by
        wx, wy = px - bx, py - by
        t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
        dx, dy = wx - ex * t, wy - ey * t
        d = min(d, dx * dx + dy * dy)
        c1 = py >= by
        c2 = py < ay
        c3 = ex * wy > ey * wx
        if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
            sign = -sign
        j = i
    return sign * math.sqrt(d)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def over(dst, src, a):
    """Paints colour src with coverage a over the opaque colour dst."""
    return mix(dst, src, a)


# ---------------------------------------------------------------- drawing

def draw(size):
    """Returns size*size RGBA tuples (0..255 ints), rows top to bottom."""
    # Snap the tile to whole pixels so that its straight edges stay crisp.
    inset = max(1, int(round(size * 0.035)))
    side = size - 2 * inset
    radius = side * 0.22
    cx = cy = size / 2.0
    half = side / 2.0

    def to_px(pt):
        return (inset + pt[0] * side, inset + pt[1] * side)

    small = size <= SMALL
    w = clamp((48.0 - size) / 32.0)
    v_poly = [to_px(mix(a, b, w)) for a, b in zip(V_OUTLINE, V_OUTLINE_SMALL)]
    v_top = v_poly[0][1]
    v_bottom = v_poly[-1][1]
    shadow_dy = max(0.6, side * 0.03)
    shadow_poly = [(x, y + shadow_dy) for x, y in v_poly]
    shadow_soft = max(1.0, side * 0.035)
    rim = max(0.75, size / 96.0)         # width of the dark rim, in pixels
    shadow_alpha = 0.3 if small else 0.45
    edge = max(0.0, size / 128.0 - 0.5)  # width of the letter's dark edge

    out = []
    for y in range(size):
        py = y + 0.5
        for x in range(size):
            px = x + 0.5
            d_tile = sd_round_box(px, py, cx, cy, half, half, radius)
            cover = clamp(0.5 - d_tile)
            if cover <= 0.0:
                out.append((0, 0, 0, 0))
                continue

            # Tile: vertical gradient, slightly tilted, with a dark rim.
            t = clamp(((py - inset) * 0.85 + (px - inset) * 0.15) / side)
            col = mix(TILE_TOP, TILE_BOTTOM, smoothstep(0.0, 1.0, t))

            # Gloss: a faint light band over the upper part of the tile.
            g_d = sd_round_box(px, py, cx, inset + side * 0.27,
                               half - rim * 1.5, side * 0.25,
                               max(radius - rim * 1.5, 0.5))
            g_a = clamp(0.5 - g_d) * (1.0 - smoothstep(inset, inset + side * 0.52, py))
            col = over(col, GLOSS, 0.16 * g_a)

            rim_a = clamp(rim + 0.5 + d_tile)  # 1 on the outermost band
            col = over(col, TILE_RIM, 0.55 * rim_a)

            # Shadow under the letter.
            d_sh = sd_polygon(px, py, shadow_poly)
            sh_a = 1.0 - smoothstep(-shadow_soft, shadow_soft, d_sh)
            col = over(col, SHADOW, shadow_alpha * sh_a)

            # The letter: gold gradient, darker edge on the larger sizes.
            d_v = sd_polygon(px, py, v_poly)
            v_a = clamp(0.5 - d_v)
            if v_a > 0.0:
                gt = clamp((py - v_top) / (v_bottom - v_top))
                gold = mix(GOLD_TOP, GOLD_BOTTOM, gt)
                if edge > 0.0:
                    e_a = clamp(0.5 - (-d_v - edge))  # 1 near the outline
                    gold = mix(gold, GOLD_EDGE, 0.6 * e_a)
                col = over(col, gold, v_a)

            out.append(tuple(int(round(clamp(c, 0, 255))) for c in col)
                       + (int(round(cover * 255)),))
    return out


# ---------------------------------------------------------------- encoding

def png_bytes(size, pixels):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    raw = bytearray()
    for y in range(size):
        raw.append(0)  # no filter
        for r, g, b, a in pixels[y * size:(y + 1) * size]:
            raw += bytes((r, g, b, a))
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def dib_bytes(size, pixels):
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # DIB rows run bottom up
        row = pixels[y * size:(y + 1) * size]
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, encoded bytes)."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries = bytearray()
    body = bytearray()
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                               len(data), offset + len(body))
        body += data
    return head + bytes(entries) + bytes(body)


def build():
    drawn = {}
    images = []
    for size in SIZES:
        px = draw(size)
        drawn[size] = px
        data = png_bytes(size, px) if size in PNG_SIZES else dib_bytes(size, px)
        images.append((size, data))
    return ico_bytes(images), drawn


def preview_png(drawn, scale_small=4):
    """A contact sheet: each size at 1:1 on light and dark backgrounds,
    and the small ones enlarged, to judge the drawing by eye."""
    pad = 12
    tiles = []  # (size, zoom)
    for s in SIZES:
        tiles.append((s, 1))
    for s in (48, 32, 24, 16):
        tiles.append((s, scale_small))
    width = sum(s * z for s, z in tiles) + pad * (len(tiles) + 1)
    cell = max(s * z for s, z in tiles)
    height = 2 * cell + 3 * pad
    canvas = [[(0, 0, 0)] * width for _ in range(height)]
    backgrounds = ((236, 236, 240), (32, 34, 40))
    for row, bg in enumerate(backgrounds):
        y0 = pad + row * (cell + pad)
        for y in range(y0 - pad // 2, y0 + cell + pad // 2):
            canvas[y] = canvas[y][:]
            for x in range(width):
                canvas[y][x] = bg
        x0 = pad
        for s, z in tiles:
            px = drawn[s]
            for y in range(s * z):
                line = canvas[y0 + y]
                for x in range(s * z):
                    r, g, b, a = px[(y // z) * s + (x // z)]
                    t = a / 255.0
                    line[x0 + x] = tuple(int(round(bg[i] + (c - bg[i]) * t))
                                         for i, c in enumerate((r, g, b)))
            x0 += s * z + pad
    raw = bytearray()
    for line in canvas:
        raw.append(0)
        for r, g, b in line:
            raw += bytes((r, g, b))

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main(argv):
    ap = argparse.ArgumentParser(description="Build the Velmora icon.")
    ap.add_argument("--check", action="store_true",
                    help="compare with the existing icon instead of writing it")
    ap.add_argument("--preview", metavar="PNG",
                    help="also write a contact sheet of all sizes")
    ap.add_argument("--output", default=ICON_PATH, help="icon file to write")
    args = ap.parse_args(argv)

    ico, drawn = build()
    if args.preview:
        with open(args.preview, "wb") as f:
            f.write(preview_png(drawn))
    if args.check:
        try:
            with open(args.output, "rb") as f:
                same = f.read() == ico
        except OSError:
            same = False
        if not same:
            print("%s is out of date; run %s" % (args.output, sys.argv[0]),
                  file=sys.stderr)
            return 1
        return 0
    with open(args.output, "wb") as f:
        f.write(ico)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
