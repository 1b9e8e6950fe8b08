#!/usr/bin/env python3
"""Draws Lumarel's pictures (button, cursor, icon, About picture).

Run from the repository root: python3 tools/make_pictures.py
Uses only the standard library so the build machine needs nothing extra;
shapes are signed distance functions, which gives cheap anti-aliasing and
outlines of any width. The run button's picture, its pointer and the About
picture are drawn at 100, 150 and 200 %, so that each scale gets a sharp
picture of its own rather than a stretched one.
"""
import math
import os
import struct

OUT = os.path.join("resources", "pictures")


# ---- shapes: each returns f(x, y) -> signed distance (negative inside) ----

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    def f(x, y):
        px, py = (x - cx) / rx, (y - cy) / ry
        k0 = math.hypot(px, py)
        k1 = math.hypot(px / rx, py / ry)
        return k0 * (k0 - 1.0) / k1 if k1 else -min(rx, ry)
    return f


def box(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return f


def seg(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def f(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return f


def poly(pts, r=0.0):
    """Polygon; r > 0 pulls the edges in by r so the corners come out round."""
    n = len(pts)

    def f(x, y):
        d, s = float("inf"), 1.0
        for i in range(n):
            (ax, ay), (bx, by) = pts[i - 1], pts[i]
            ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay <= y) != (by <= y) and x < ax + (y - ay) * ex / ey:
                s = -s
        return s * d
    return grow(f, -r) if r else f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def smooth_union(a, b, k):
    """Union with a fillet of size k, so grips blend into a body organically."""
    def f(x, y):
        da, db = a(x, y), b(x, y)
        h = max(k - abs(da - db), 0.0) / k
        return min(da, db) - h * h * k / 4
    return f


def cut(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def meet(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def grow(f, d):
    return lambda x, y: f(x, y) - d


def ring(f, w):
    return lambda x, y: abs(f(x, y)) - w / 2


def place(f, cx, cy, s):
    """Moves and scales a shape drawn around the origin."""
    return lambda x, y: f((x - cx) / s, (y - cy) / s) * s


def vgrad(y0, c0, y1, c1):
    def col(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return col


# ---- canvas: straight RGBA floats; design units may differ from pixels ----

SCALES = (100, 150, 200)


def scaled_size(units, percent):
    return math.floor(units * percent / 100 + 0.5)


class Canvas:
    def __init__(self, w, h, units=None, bg=(0, 0, 0, 0), shift=(0.0, 0.0)):
        self.w, self.h = w, h
        self.k = (units or w) / w  # design units per pixel
        self.shift = shift  # pixels the design moves by, to sit centred after rounding
        self.px = [list(bg) for _ in range(w * h)]

    @classmethod
    def at_scale(cls, w, h, percent, **kwargs):
        """A canvas for a design of w x h units at a scale, its size rounded to whole pixels."""
        s = percent / 100
        pw, ph = scaled_size(w, percent), scaled_size(h, percent)
        return cls(pw, ph, pw / s, shift=((pw - w * s) / 2, (ph - h * s) / 2), **kwargs)

    def fill(self, f, col, alpha=1.0):
        k = self.k
        sx, sy = self.shift
        for j in range(self.h):
            for i in range(self.w):
                x, y = (i + 0.5 - sx) * k, (j + 0.5 - sy) * k
                cov = 0.5 - f(x, y) / k
                if cov <= 0:
                    continue
                a = min(cov, 1.0) * alpha
                c = col(x, y) if callable(col) else col
                p = self.px[j * self.w + i]
                na = a + p[3] * (1 - a)
                for n in range(3):
                    p[n] = (c[n] * a + p[n] * p[3] * (1 - a)) / na
                p[3] = na

    def outlined(self, f, col, line, w):
        """Outline drawn outside-in so the fill keeps its full size."""
        if w:
            self.fill(grow(f, w), line)
        self.fill(f, col)

    def rgba(self):
        return [tuple(int(round(max(0, min(255, v)))) for v in p[:3])
                + (int(round(p[3] * 255)),) for p in self.px]


# ---- colour reduction and file writers ----

def palette_for(colours, n, fixed=()):
    """Greedy pick: common colours first, then the ones farthest from those chosen.

    Keeps small but important details (the green triangle) that a plain
    most-frequent cut would drop.
    """
    hist = {}
    for c in colours:
        hist[c] = hist.get(c, 0) + 1
    cands = sorted(hist, key=lambda c: (-hist[c], c))
    pal = list(fixed)
    dist = {c: min((sum((a - b) ** 2 for a, b in zip(c, p)) for p in pal),
                   default=1 << 30) for c in cands}
    while len(pal) < n and cands:
        best = max(cands, key=lambda c: hist[c] * min(dist[c], 1 << 20))
        if dist[best] == 0:
            break
        pal.append(best)
        for c in cands:
            dist[c] = min(dist[c], sum((a - b) ** 2 for a, b in zip(c, best)))
    pal += [(0, 0, 0)] * (n - len(pal))
    return pal


def nearest(pal, c, cache):
    if c not in cache:
        cache[c] = min(range(len(pal)),
                       key=lambda i: sum((a - b) ** 2 for a, b in zip(c, pal[i])))
    return cache[c]


def info_header(w, h, bpp, size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, size, 2835, 2835, 0, 0)


def pack_rows(w, h, bpp, value):
    """Bottom-up rows padded to 4 bytes; value(x, y) gives the pixel bits."""
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        if bpp >= 8:
            for x in range(w):
                row += value(x, y)
        else:
            per = 8 // bpp
            for x0 in range(0, w, per):
                b = 0
                for x in range(x0, x0 + per):
                    v = value(x, y) if x < w else 0
                    b = (b << bpp) | v
                row.append(b)
        row += b"\0" * (-len(row) % 4)
        out += row
    return bytes(out)


def indexed(img, bits, transparent=False):
    """Palette and index grid; index 0 stays black for transparent icon pixels."""
    fixed = [(0, 0, 0)] if transparent else []
    opaque = [p[:3] for p in img if not transparent or p[3] >= 128]
    pal = palette_for(opaque, 1 << bits, fixed)
    cache = {}
    idx = [0 if transparent and p[3] < 128 else nearest(pal, p[:3], cache) for p in img]
    return pal, idx


def pal_bytes(pal):
    return b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in pal)


def write(name, data):
    path = os.path.join(OUT, name)
    with open(path, "wb") as fh:
        fh.write(data)
    print(f"wrote {path} ({len(data)} bytes)")


def bmp(name, c, bits):
    """bits 32 keeps the straight alpha in each pixel's fourth byte, as Windows' icons do."""
    img = c.rgba()
    w, h = c.w, c.h
    if bits == 32:
        pal, pix = b"", pack_rows(w, h, 32, lambda x, y: bytes(
            img[y * w + x][2::-1] + img[y * w + x][3:] if img[y * w + x][3] else (0, 0, 0, 0)))
    elif bits == 24:
        pal, pix = b"", pack_rows(w, h, 24, lambda x, y: bytes(img[y * w + x][2::-1]))
    else:
        p, idx = indexed(img, bits)
        pal, pix = pal_bytes(p), pack_rows(w, h, bits, lambda x, y: bytes([idx[y * w + x]]))
    off = 14 + 40 + len(pal)
    hdr = struct.pack("<2sIHHI", b"BM", off + len(pix), 0, 0, off)
    write(name, hdr + info_header(w, h, bits, len(pix)) + pal + pix)


def icon_image(c, bits):
    """One icon/cursor image: header (double height), colours, AND mask."""
    img, w, h = c.rgba(), c.w, c.h
    mask = pack_rows(w, h, 1, lambda x, y: int(img[y * w + x][3] < 128))
    if bits == 32:
        pal = b""
        pix = pack_rows(w, h, 32, lambda x, y: bytes(
            (img[y * w + x][2], img[y * w + x][1], img[y * w + x][0], img[y * w + x][3])
            if img[y * w + x][3] else (0, 0, 0, 0)))
    else:
        p, idx = indexed(img, bits, transparent=True)
        pal = pal_bytes(p)
        if bits == 4:
            pix = pack_rows(w, h, 4, lambda x, y: idx[y * w + x])
        else:
            pix = pack_rows(w, h, 8, lambda x, y: bytes([idx[y * w + x]]))
    return info_header(w, h * 2, bits, len(pix) + len(mask)) + pal + pix + mask


def icon_file(name, entries, kind):
    """entries: (canvas, bits, hotspot); kind 1 = icon, 2 = cursor."""
    blobs = [icon_image(c, bits) for c, bits, _ in entries]
    off = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, kind, len(entries))
    for (c, bits, hot), blob in zip(entries, blobs):
        colours = 16 if bits == 4 else 0
        a, b = hot if kind == 2 else (1, bits)
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, colours, 0, a, b, len(blob), off)
        off += len(blob)
    write(name, out + b"".join(blobs))


# ---- drawings ----

INK = (32, 28, 52)
GREEN, GREEN_DARK = (70, 205, 85), (22, 120, 45)
VIOLET = (112, 88, 236)


def controller():
    """Game pad silhouette around the origin, about 96 x 50 units."""
    body = box(-38, -19, 38, 9, 13)
    grips = union(seg(-29, -2, -36, 17, 12.5), seg(29, -2, 36, 17, 12.5))
    return smooth_union(body, grips, 8)


def draw_controller(c, cx, cy, s, line, rim=0.0):
    """rim: a light edge around the outline, so that the pad stands out on a dark face."""
    pad = place(controller(), cx, cy, s)
    if rim:
        c.fill(grow(pad, line + rim), (255, 255, 255), 0.9)
    c.outlined(pad, vgrad(cy - 19 * s, (86, 92, 116), cy + 29 * s, (42, 45, 60)), INK, line)
    dx, dy = cx - 26 * s, cy - 4 * s
    c.fill(union(box(dx - 9 * s, dy - 3 * s, dx + 9 * s, dy + 3 * s, 1.5 * s),
                 box(dx - 3 * s, dy - 9 * s, dx + 3 * s, dy + 9 * s, 1.5 * s)), (206, 210, 222))
    for bx, by, col in ((25, 1, (240, 84, 92)), (32, -8, (250, 200, 60))):
        c.outlined(circle(cx + bx * s, cy + by * s, 4.5 * s), col, INK, 1.0 * s)


def play(cx, cy, h, r):
    """Right-pointing triangle centred on its bounding box."""
    w = h * 0.9
    return poly([(cx - w / 2, cy - h / 2), (cx + w / 2, cy), (cx - w / 2, cy + h / 2)], r)


def scale_suffix(percent):
    return "" if percent == 100 else f"-{percent}"


def go_button(percent):
    # Transparent around the pad: the button's own face shows through, whatever the
    # colour scheme or theme.
    c = Canvas.at_scale(101, 74, percent)
    c.fill(ellipse(50.5, 66, 40, 4.5), (0, 0, 0), 0.12)
    draw_controller(c, 50.5, 33, 0.96, 1.6, rim=1.2)
    tri = play(51.5, 34, 29, 2.5)
    c.fill(grow(tri, 4.5), (255, 255, 255))
    c.outlined(tri, vgrad(19, (120, 230, 110), 51, (30, 160, 55)), GREEN_DARK, 1.5)
    c.fill(seg(43, 26, 43, 36, 1.2), (255, 255, 255), 0.55)  # glint reads as glossy
    bmp(f"go_button{scale_suffix(percent)}.bmp", c, 32)


def go_pointer(percent):
    c = Canvas.at_scale(32, 32, percent)
    arrow = poly([(1, 1), (1, 20), (5.5, 16), (9, 23.5), (12.5, 22), (9.2, 15), (15, 15)])
    c.outlined(arrow, (255, 255, 255), (0, 0, 0), 1)
    tri = play(23.5, 24.5, 12, 0.8)
    c.outlined(tri, GREEN, (0, 0, 0), 1.1)
    hot = scaled_size(1, percent)
    return c, 32, (hot, hot)


def lumarel_icon(size):
    # Designed on a 48-unit grid in steps of 3 so edges land on whole pixels at 16 and 32.
    c = Canvas(size, size, 48)
    line = c.k if size > 16 else 0  # one pixel; at 16 there is no room for it
    shell = union(poly([(6, 3), (36, 3), (42, 9), (42, 39), (6, 39)], 1.5),
                  box(9, 36, 39, 45, 1.5))
    c.outlined(shell, VIOLET, INK, 3)
    c.fill(box(6, 36, 42, 39), (78, 58, 190))  # darker lip where the connector starts
    if size >= 32:
        for y in (6, 9):
            c.fill(box(15, y, 33, y + c.k), (78, 58, 190))
    c.outlined(box(12, 12, 36, 33, 1.5), (250, 248, 240), INK, line)
    green = GREEN if line else (34, 170, 60)  # darker so it holds up against the label when tiny
    c.outlined(play(18 + 6.75, 22.5, 15, 0), green, GREEN_DARK, line)
    return c


def about(percent):
    c = Canvas.at_scale(102, 124, percent)
    c.fill(box(-1, -1, 103, 125), vgrad(0, (104, 170, 238), 80, (206, 232, 252)))
    for a in range(12):  # sun rays
        t = a * math.pi / 6
        c.fill(seg(82 + 13 * math.cos(t), 20 + 13 * math.sin(t),
                   82 + 18 * math.cos(t), 20 + 18 * math.sin(t), 1.2), (255, 214, 90))
    c.fill(circle(82, 20, 10), (255, 206, 70))
    c.fill(union(circle(14, 26, 6), circle(22, 22, 8), circle(31, 26, 6),
                 box(8, 26, 37, 32, 3)), (255, 255, 255), 0.95)
    c.fill(ellipse(10, 104, 64, 36), (140, 206, 104))
    c.fill(ellipse(96, 110, 62, 34), (112, 188, 86))
    c.fill(box(-1, 108, 103, 125), (96, 172, 74))
    for fx, fy, col in ((10, 112, (255, 255, 255)), (90, 116, (255, 220, 80)),
                        (20, 119, (255, 150, 190)), (84, 104, (255, 255, 255)),
                        (6, 98, (255, 220, 80))):
        c.fill(union(*(circle(fx + 1.8 * math.cos(k * 1.257), fy + 1.8 * math.sin(k * 1.257), 1.3)
                       for k in range(5))), col)
        c.fill(circle(fx, fy, 1), (250, 170, 40))
    c.fill(ellipse(51, 108, 30, 4.5), (30, 80, 30), 0.25)
    # the little character: antenna, feet, body, face, then the pad in its hands
    c.fill(seg(51, 52, 56, 38, 1), INK)
    c.fill(circle(57, 35, 8), (255, 250, 200), 0.45)
    c.outlined(circle(57, 35, 4.5), (255, 214, 70), INK, 1.2)
    for fx in (39, 63):
        c.outlined(ellipse(fx, 103, 9, 4.5), (76, 54, 178), INK, 1.5)
    c.outlined(ellipse(51, 76, 28, 26), vgrad(50, (168, 146, 255), 102, (92, 66, 210)), INK, 2)
    for ex in (41, 61):
        c.outlined(ellipse(ex, 63, 6.5, 7.5), (255, 255, 255), INK, 1)
        c.fill(circle(ex + 2, 65, 3.5), INK)
        c.fill(circle(ex + 3.3, 63.5, 1.3), (255, 255, 255))
        c.fill(ellipse(ex + (ex - 51) * 0.8, 73, 4.5, 2.5), (255, 130, 165), 0.7)
    c.fill(meet(ring(circle(51, 69, 6), 2), lambda x, y: 70 - y), INK)
    draw_controller(c, 51, 89, 0.42, 1.2)
    for hx in (36.5, 65.5):
        c.outlined(circle(hx, 97, 4.5), (140, 116, 246), INK, 1.2)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    for percent in SCALES:
        go_button(percent)
        bmp(f"about{scale_suffix(percent)}.bmp", about(percent), 8)
    # One cursor file with every size: Windows picks the one asked for.
    icon_file("go_pointer.cur", [go_pointer(percent) for percent in SCALES], 2)
    icon_file("lumarel.ico", [(lumarel_icon(s), b, None) for b in (4, 8) for s in (16, 32, 48)], 1)


if __name__ == "__main__":
    main()
