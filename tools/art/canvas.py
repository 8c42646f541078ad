"""Pixel canvas, drawing primitives and the two file writers (PNG and uncompressed DDS).

Standard library only: the build machines have no imaging library, and the output has to be the
same byte for byte on every run, so nothing here reads the clock or an unseeded random source.
"""
import math
import struct
import zlib

CLEAR = (0, 0, 0, 0)


def clamp(v, lo=0, hi=255):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    """Linear blend of two RGB(A) colours; t = 0 gives a, 1 gives b."""
    return tuple(clamp(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def shade(c, f):
    """Scale the RGB part of a colour by f, keeping its alpha."""
    out = tuple(clamp(round(v * f)) for v in c[:3])
    return out + tuple(c[3:]) if len(c) == 4 else out


def rgba(c, a=255):
    return c if len(c) == 4 else (c[0], c[1], c[2], a)


class Canvas:
    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [rgba(fill)] * (w * h)

    # --- pixels -------------------------------------------------------------------------------
    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y * self.w + x]
        return CLEAR

    def put(self, x, y, c):
        """Write a colour as is (no blending)."""
        x, y = int(x), int(y)
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = rgba(c)

    def blend(self, x, y, c, a=None):
        """Source-over blend; a overrides the colour's own alpha (0..1)."""
        x, y = int(x), int(y)
        if not (0 <= x < self.w and 0 <= y < self.h):
            return
        c = rgba(c)
        sa = c[3] / 255.0 if a is None else a * c[3] / 255.0
        if sa <= 0:
            return
        i = y * self.w + x
        d = self.px[i]
        da = d[3] / 255.0
        oa = sa + da * (1 - sa)
        if oa <= 0:
            self.px[i] = CLEAR
            return
        out = tuple(clamp(round((c[k] * sa + d[k] * da * (1 - sa)) / oa)) for k in range(3))
        self.px[i] = out + (clamp(round(oa * 255)),)

    def add(self, x, y, c, a=1.0):
        """Additive light (for glows): brightens colour and raises alpha."""
        x, y = int(x), int(y)
        if not (0 <= x < self.w and 0 <= y < self.h) or a <= 0:
            return
        i = y * self.w + x
        d = self.px[i]
        out = tuple(clamp(round(d[k] + c[k] * a)) for k in range(3))
        self.px[i] = out + (clamp(round(d[3] + 255 * a)),)

    def opaque(self, x, y):
        return self.get(x, y)[3] > 0

    # --- shapes (all take a colour and paint with blend) --------------------------------------
    def rect(self, x0, y0, w, h, c):
        for y in range(int(y0), int(y0 + h)):
            for x in range(int(x0), int(x0 + w)):
                self.blend(x, y, c)

    def hline(self, x0, x1, y, c):
        for x in range(int(x0), int(x1) + 1):
            self.blend(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(int(y0), int(y1) + 1):
            self.blend(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(int(math.floor(cy - ry)), int(math.ceil(cy + ry)) + 1):
            for x in range(int(math.floor(cx - rx)), int(math.ceil(cx + rx)) + 1):
                dx = (x + 0.5 - cx) / max(rx, 0.01)
                dy = (y + 0.5 - cy) / max(ry, 0.01)
                if dx * dx + dy * dy <= 1.0:
                    self.blend(x, y, c)

    def circle(self, cx, cy, r, c):
        self.ellipse(cx, cy, r, r, c)

    def ring(self, cx, cy, r0, r1, c, a0=None, a1=None):
        """Annulus r0..r1; optionally only the angles a0..a1 (radians, 0 = right, y down)."""
        for y in range(int(cy - r1) - 1, int(cy + r1) + 2):
            for x in range(int(cx - r1) - 1, int(cx + r1) + 2):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                d = math.hypot(dx, dy)
                if r0 <= d <= r1:
                    if a0 is not None:
                        ang = math.atan2(dy, dx)
                        if not angle_between(ang, a0, a1):
                            continue
                    self.blend(x, y, c)

    def line(self, x0, y0, x1, y1, c, r=0.5):
        """A capsule from (x0, y0) to (x1, y1) with radius r (r 0.5 is a one-pixel line)."""
        minx, maxx = int(min(x0, x1) - r - 1), int(max(x0, x1) + r + 1)
        miny, maxy = int(min(y0, y1) - r - 1), int(max(y0, y1) + r + 1)
        vx, vy = x1 - x0, y1 - y0
        ll = vx * vx + vy * vy
        for y in range(miny, maxy + 1):
            for x in range(minx, maxx + 1):
                px, py = x + 0.5, y + 0.5
                t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - x0) * vx + (py - y0) * vy) / ll))
                qx, qy = x0 + vx * t - px, y0 + vy * t - py
                if qx * qx + qy * qy <= r * r:
                    self.blend(x, y, c)

    def polygon(self, pts, c):
        """Even-odd scanline fill, sampled at pixel centres."""
        ys = [p[1] for p in pts]
        n = len(pts)
        for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys))) + 1):
            sy = y + 0.5
            xs = []
            for i in range(n):
                xa, ya = pts[i]
                xb, yb = pts[(i + 1) % n]
                if (ya <= sy < yb) or (yb <= sy < ya):
                    xs.append(xa + (sy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for k in range(0, len(xs) - 1, 2):
                for x in range(int(math.ceil(xs[k] - 0.5)), int(math.floor(xs[k + 1] - 0.5)) + 1):
                    self.blend(x, y, c)

    def glow(self, cx, cy, r, c, strength=1.0):
        """Soft additive halo, brightest in the centre."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / r
                if d < 1:
                    self.blend(x, y, c, strength * (1 - d) ** 2)

    # --- whole-image passes --------------------------------------------------------------------
    def blit(self, src, ox=0, oy=0, alpha=1.0):
        for y in range(src.h):
            for x in range(src.w):
                p = src.px[y * src.w + x]
                if p[3]:
                    self.blend(ox + x, oy + y, p, alpha)

    def outline(self, c, diagonal=False):
        """Dark rim on every clear pixel touching the silhouette."""
        c = rgba(c)
        src = list(self.px)
        w, h = self.w, self.h
        nb = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diagonal:
            nb += [(1, 1), (-1, -1), (1, -1), (-1, 1)]
        for y in range(h):
            for x in range(w):
                if src[y * w + x][3] >= 128:
                    continue
                for dx, dy in nb:
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < w and 0 <= ny < h and src[ny * w + nx][3] >= 128:
                        self.px[y * w + x] = c
                        break

    def flipped(self):
        out = Canvas(self.w, self.h)
        for y in range(self.h):
            row = self.px[y * self.w:(y + 1) * self.w]
            out.px[y * self.w:(y + 1) * self.w] = row[::-1]
        return out

    def crop(self, x0, y0, w, h):
        out = Canvas(w, h)
        for y in range(h):
            for x in range(w):
                out.px[y * w + x] = self.get(x0 + x, y0 + y)
        return out

    def scaled(self, k):
        out = Canvas(self.w * k, self.h * k)
        for y in range(out.h):
            for x in range(out.w):
                out.px[y * out.w + x] = self.px[(y // k) * self.w + x // k]
        return out

    # --- output -------------------------------------------------------------------------------
    def png_bytes(self):
        raw = bytearray()
        w = self.w
        prev = bytes(w * 4)
        for y in range(self.h):
            row = bytearray()
            for p in self.px[y * w:(y + 1) * w]:
                row += bytes(p) if p[3] else b"\0\0\0\0"
            # Filter "up" packs flat areas and gradients tighter than no filter.
            up = bytes((row[i] - prev[i]) & 255 for i in range(len(row)))
            raw += b"\x02" + up
            prev = bytes(row)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
                + chunk(b"IEND", b""))

    def dds_bytes(self):
        """Uncompressed 32-bit DDS, the same layout tools/make_default_sprites.py writes."""
        header = struct.pack(
            "<4s7I44x8I4I4x", b"DDS ", 124, 0x1007 | 0x8, self.h, self.w, self.w * 4, 0, 0,
            32, 0x41, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 0x1000, 0, 0, 0)
        body = bytearray()
        for p in self.px:
            body += bytes((p[2], p[1], p[0], p[3])) if p[3] else b"\0\0\0\0"
        return header + bytes(body)

    def save(self, path):
        data = self.dds_bytes() if path.lower().endswith(".dds") else self.png_bytes()
        with open(path, "wb") as f:
            f.write(data)


def angle_between(a, a0, a1):
    tau = 2 * math.pi
    a, a0, a1 = a % tau, a0 % tau, a1 % tau
    return a0 <= a <= a1 if a0 <= a1 else a >= a0 or a <= a1


class Part:
    """One body part drawn as a mask, then shaded (light from the upper left) and outlined on its
    own before it is laid over the figure, so overlapping limbs keep a line between them."""

    def __init__(self, w, h):
        self.mask = Canvas(w, h)

    def finish(self, base, outline, light=1.25, dark=0.7, rim=True):
        m = self.mask
        w, h = m.w, m.h
        out = Canvas(w, h)
        on = [m.px[i][3] > 0 for i in range(w * h)]

        def filled(x, y):
            return 0 <= x < w and 0 <= y < h and on[y * w + x]

        for y in range(h):
            for x in range(w):
                if not on[y * w + x]:
                    continue
                c = base
                if rim and (not filled(x + 1, y) or not filled(x, y + 1)):
                    c = shade(base, dark)
                elif rim and (not filled(x - 1, y) or not filled(x, y - 1)):
                    c = shade(base, light)
                out.px[y * w + x] = rgba(c)
        if outline:
            out.outline(outline)
        return out


def compose(w, h, parts, outline):
    """parts: list of (draw_fn(mask_canvas), colour); back to front. Returns the figure."""
    fig = Canvas(w, h)
    for draw, colour in parts:
        p = Part(w, h)
        draw(p.mask)
        fig.blit(p.finish(colour, outline))
    return fig


def sheet(frames, cols):
    fw, fh = frames[0].w, frames[0].h
    rows = (len(frames) + cols - 1) // cols
    out = Canvas(fw * cols, fh * rows)
    for i, f in enumerate(frames):
        if f is not None:
            out.blit(f, (i % cols) * fw, (i // cols) * fh)
    return out

