"""Items, tiles, parallax backgrounds and particles."""
import math
import random

from canvas import Canvas, Part, compose, sheet, shade, mix
from palette import *


# --- items ---------------------------------------------------------------------------------------
def gem_frame(i, n=6):
    a = math.pi * i / n  # half a turn over the cycle: the gem is symmetric
    half = max(0.6, abs(math.cos(a)) * 5.5)
    side = max(0.0, abs(math.sin(a)) * 5.5)
    c = Canvas(16, 16)
    cx, top, mid, bot = 8, 2, 6, 14
    # front face and the side face that turns into view
    c.polygon([(cx - half, mid), (cx, top), (cx + half, mid), (cx, bot)], TEAL_L)
    lit = math.cos(a) > 0
    if side > 0.8:
        sx = cx + half if lit else cx - half
        c.polygon([(cx, top), (sx + (side * 0.4 if lit else -side * 0.4), mid), (cx, bot)],
                  TEAL if lit else TEAL_D)
    c.polygon([(cx - half, mid), (cx, top), (cx + half, mid)], TEAL_GLOW)
    c.outline(OUTLINE)
    c.put(cx - 1 if half > 2 else cx, 4, WHITE)
    if i == 0:
        c.put(cx + 3, 3, WHITE)
    return c


def gem():
    return sheet([gem_frame(i) for i in range(6)], 6)


def heart():
    c = Canvas(16, 16)
    c.circle(5, 6, 3.6, RED)
    c.circle(11, 6, 3.6, RED)
    c.polygon([(1.6, 7), (14.4, 7), (8, 14.5)], RED)
    c.polygon([(2, 8.5), (8, 14.5), (8, 12)], RED_D)
    c.outline(OUTLINE)
    c.put(4, 4, WHITE)
    c.put(5, 4, (255, 160, 160))
    c.put(4, 5, (255, 160, 160))
    return c


def armour():
    c = Canvas(16, 16)
    c.polygon([(2, 2), (14, 2), (14, 8), (8, 14.5), (2, 8)], METAL)
    c.polygon([(8, 2), (14, 2), (14, 8), (8, 14.5)], METAL_D)
    c.outline(OUTLINE)
    c.polygon([(5, 5), (11, 5), (11, 8), (8, 11), (5, 8)], TEAL)
    c.put(7, 6, TEAL_GLOW)
    c.hline(3, 7, 3, METAL_L)
    return c


def exit_door(i):
    c = Canvas(32, 48)
    # stone arch
    c.rect(2, 14, 6, 34, STONE)
    c.rect(24, 14, 6, 34, STONE)
    c.ellipse(16, 16, 14, 14, STONE)
    c.ellipse(16, 16, 9, 10, (0, 0, 0, 0))
    arch = Canvas(32, 48)
    for y in range(48):
        for x in range(32):
            p = c.get(x, y)
            inside = ((x + 0.5 - 16) / 9) ** 2 + ((y + 0.5 - 16) / 10) ** 2 < 1 or (7 <= x <= 24 and y >= 16)
            if p[3] and not inside:
                arch.put(x, y, p)
    arch.outline(OUTLINE)
    out = Canvas(32, 48)
    # swirling portal behind the arch
    t = i / 4
    for y in range(6, 48):
        for x in range(7, 25):
            dx, dy = x + 0.5 - 16, y + 0.5 - 22
            inside = ((x + 0.5 - 16) / 9) ** 2 + ((y + 0.5 - 16) / 10) ** 2 < 1 or (7 <= x <= 24 and y >= 16)
            if not inside:
                continue
            r = math.hypot(dx, dy * 0.6)
            ang = math.atan2(dy, dx)
            v = 0.5 + 0.5 * math.sin(ang * 3 + r * 0.7 - t * 2 * math.pi)
            col = mix(TEAL_D, TEAL_GLOW, v * max(0.2, 1 - r / 16))
            out.put(x, y, col + (230,))
    out.blit(arch)
    # stone blocks and glowing runes on the arch
    for y in range(18, 46, 6):
        out.hline(3, 7, y, STONE_D)
        out.hline(24, 28, y, STONE_D)
    for k in range(5):
        ang = math.pi + k * math.pi / 4
        x, y = 16 + math.cos(ang) * 11.5, 16 + math.sin(ang) * 12
        on = (k + i) % 4 == 0
        out.put(round(x), round(y), AMBER_L if on else AMBER_D)
    out.glow(16, 26, 12, TEAL_GLOW, 0.25 + 0.1 * math.sin(t * 2 * math.pi))
    return out


def exit_door_sheet():
    return sheet([exit_door(i) for i in range(4)], 4)


# --- tiles ---------------------------------------------------------------------------------------
def ground():
    rng = random.Random(11)
    w, h = 256, 64
    c = Canvas(w, h)
    for y in range(6, h):
        for x in range(w):
            t = (y - 6) / (h - 6)
            col = mix(SOIL, SOIL_D, t)
            if rng.random() < 0.08:
                col = shade(col, 0.85)
            c.put(x, y, col)
    # stones and roots in the soil
    for _ in range(26):
        x, y = rng.randint(4, w - 5), rng.randint(18, h - 4)
        r = rng.uniform(1.5, 3.5)
        c.ellipse(x, y, r * 1.4, r, STONE_D)
        c.put(x - 1, y - 1, STONE)
    for _ in range(6):
        x = rng.randint(0, w)
        y = 12
        for k in range(rng.randint(8, 20)):
            c.put(x, y, WOOD_D)
            x += rng.choice((-1, 0, 1))
            y += 1
    # grass cap with blades reaching above it
    for x in range(w):
        top = 6 + round(1.5 * math.sin(x * 0.11) + math.sin(x * 0.37))
        for y in range(top, 12 + (x * 7) % 3):
            c.put(x, y, MOSS if y > top + 1 else MOSS_L)
        c.put(x, top - 1, OUTLINE)
        if rng.random() < 0.35:
            bh = rng.randint(2, 5)
            for k in range(bh):
                c.put(x, top - 1 - k, MOSS_L if k < bh - 1 else (140, 200, 110))
            c.put(x, top - 1 - bh, OUTLINE)
        for y in range(12 + (x * 7) % 3, 13 + (x * 7) % 3):
            c.put(x, y, MOSS_D)
    for _ in range(10):
        x = rng.randint(3, w - 4)
        c.put(x, 5, AMBER_L if rng.random() < 0.5 else TEAL_L)  # small flowers
    return c


def brick_fill(c, x0, y0, w, h, bw, bh, base, rng, mortar):
    for y in range(y0, y0 + h):
        row = (y - y0) // bh
        for x in range(x0, x0 + w):
            off = (bw // 2) * (row % 2)
            bx = (x - x0 + off) % bw
            by = (y - y0) % bh
            if bx == 0 or by == 0:
                col = mortar
            else:
                seed = (row * 131 + (x - x0 + off) // bw * 17) % 7
                col = shade(base, 0.9 + seed * 0.03)
                if by == 1:
                    col = shade(col, 1.15)
                if by == bh - 1 or bx == bw - 1:
                    col = shade(col, 0.8)
            c.put(x, y, col)


def moss_top(c, y, w, rng, depth=4):
    for x in range(w):
        d = depth + round(math.sin(x * 0.3) * 1.2) + rng.randint(0, 1)
        for k in range(d):
            c.put(x, y + k, MOSS_L if k == 0 else MOSS if k < d - 1 else MOSS_D)
        if rng.random() < 0.2:
            for k in range(rng.randint(1, 4)):  # hanging strands
                c.put(x, y + d + k, MOSS_D)


def platform():
    rng = random.Random(12)
    c = Canvas(128, 32)
    brick_fill(c, 0, 2, 128, 30, 16, 8, STONE, rng, STONE_D)
    moss_top(c, 2, 128, rng)
    for x in range(128):
        c.put(x, 1, OUTLINE)
    c.rect(0, 31, 128, 1, OUTLINE)
    c.rect(0, 2, 1, 30, OUTLINE)
    c.rect(127, 2, 1, 30, OUTLINE)
    return c


def wall():
    rng = random.Random(13)
    c = Canvas(64, 256)
    brick_fill(c, 0, 0, 64, 256, 16, 10, STONE_D, rng, shade(STONE_D, 0.6))
    for _ in range(7):  # moss and ivy patches
        x, y = rng.randint(0, 63), rng.randint(0, 250)
        for k in range(rng.randint(10, 30)):
            c.put(x, y, MOSS if rng.random() < 0.6 else MOSS_D)
            x = max(0, min(63, x + rng.choice((-1, 0, 1))))
            y += 1
    for y in range(256):
        c.put(0, y, OUTLINE)
        c.put(63, y, OUTLINE)
    return c


def crate():
    c = Canvas(32, 32)
    c.rect(1, 1, 30, 30, WOOD)
    for y in range(3, 30, 7):
        c.hline(3, 28, y, WOOD_D)
        c.hline(3, 28, y + 1, WOOD_L)
    c.line(4, 27, 27, 4, WOOD_D, 1.6)
    c.line(4, 27, 27, 4, WOOD_L, 0.5)
    c.rect(1, 1, 30, 3, WOOD_D)
    c.rect(1, 28, 30, 3, WOOD_D)
    c.rect(1, 1, 3, 30, WOOD_D)
    c.rect(28, 1, 3, 30, WOOD_D)
    for x, y in ((1, 1), (27, 1), (1, 27), (27, 27)):
        c.rect(x, y, 4, 4, METAL)
        c.put(x + 1, y + 1, METAL_L)
    c.hline(4, 27, 2, WOOD_L)
    for x in range(32):
        for y in (0, 31):
            c.put(x, y, OUTLINE)
            c.put(y, x, OUTLINE)
    return c


def spikes():
    c = Canvas(64, 16)
    c.rect(0, 13, 64, 3, METAL_D)
    for k in range(8):
        x = k * 8
        c.polygon([(x + 0.5, 13.5), (x + 4, 1), (x + 7.5, 13.5)], METAL)
        c.polygon([(x + 4, 1), (x + 7.5, 13.5), (x + 4.5, 13.5)], METAL_D)
        c.put(x + 4, 2, METAL_L)
        c.put(x + 4, 3, RED)
    c.outline(OUTLINE)
    return c


# --- backgrounds ---------------------------------------------------------------------------------
def sky():
    rng = random.Random(21)
    w, h = 480, 270
    c = Canvas(w, h)
    top, mid, bottom = (8, 10, 26), (22, 26, 56), (58, 50, 86)
    for y in range(h):
        t = y / (h - 1)
        col = mix(top, mid, t / 0.6) if t < 0.6 else mix(mid, bottom, (t - 0.6) / 0.4)
        for x in range(w):
            # ordered dither keeps the gradient banded in steps, like hand-made pixel art
            d = ((x % 4) * 4 + (y % 4)) / 16.0 - 0.5
            c.put(x, y, tuple(max(0, min(255, round(v + d * 3))) for v in col))
    for _ in range(220):
        x, y = rng.randint(0, w - 1), rng.randint(0, int(h * 0.75))
        b = rng.random()
        c.blend(x, y, (220, 230, 255), 0.3 + 0.6 * b)
        if b > 0.93:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.blend(x + dx, y + dy, (200, 220, 255), 0.4)
    # moon with a soft halo and a few craters
    mx, my = 370, 70
    c.glow(mx, my, 70, (120, 140, 200), 0.35)
    c.glow(mx, my, 40, (200, 210, 240), 0.35)
    c.circle(mx, my, 24, (232, 228, 206))
    c.circle(mx + 6, my - 5, 21, (246, 242, 222))
    for cx, cy, r in ((mx - 8, my + 6, 4), (mx + 5, my + 10, 3), (mx - 2, my - 9, 2.5), (mx + 12, my - 2, 2)):
        c.circle(cx, cy, r, (206, 200, 180))
    # thin clouds
    for k in range(5):
        cy = 40 + k * 28 + rng.randint(-6, 6)
        cx = rng.randint(0, w)
        for j in range(6):
            c.ellipse((cx + j * 22) % w, cy + rng.randint(-2, 2), 30, 3, (90, 90, 140, 40))
    return c


def periodic(x, w, terms):
    """Sum of sines whose periods divide the width, so the value at x and x + w is the same."""
    return sum(a * math.sin(2 * math.pi * (k * x / w) + p) for k, a, p in terms)


def mountains():
    w, h = 960, 270
    c = Canvas(w, h)
    far = [(2, 22, 0.3), (5, 14, 1.1), (11, 7, 2.0), (23, 3, 0.5)]
    near = [(3, 26, 1.7), (7, 12, 0.2), (13, 6, 2.4), (29, 2.5, 1.0)]
    for x in range(w):
        yf = 120 + periodic(x, w, far)
        yn = 165 + periodic(x, w, near)
        for y in range(int(yf), h):
            t = (y - yf) / (h - yf)
            col = mix((44, 46, 84), (52, 70, 96), t)
            if y < yf + 3 and periodic(x, w, [(41, 1, 0)]) > 0.3:
                col = (92, 96, 140)  # moonlit ridge
            c.put(x, y, col)
        for y in range(int(yn), h):
            t = (y - yn) / (h - yn)
            c.put(x, y, mix((30, 34, 62), (34, 60, 76), t))
        c.put(x, int(yn) - 1, (66, 74, 112))
    # a ruined tower on a near peak: drawn twice so it wraps
    for ox in (0, -w, w):
        bx = 610 + ox
        by = int(165 + periodic(610, w, near))
        c.rect(bx, by - 40, 14, 42, (26, 28, 52))
        for k in range(0, 14, 4):
            c.rect(bx + k, by - 44, 2, 4, (26, 28, 52))
        c.put(bx + 6, by - 30, AMBER)
        c.put(bx + 6, by - 29, AMBER_D)
    return c


def trees():
    w, h = 960, 270
    rng = random.Random(33)
    c = Canvas(w, h)
    base = [(4, 6, 0.4), (9, 3, 1.3), (17, 1.5, 2.2)]
    trunk = (16, 20, 34)
    needle = (20, 40, 46)
    needle_l = (34, 66, 70)
    items = []
    x = 0
    while x < w:
        items.append((x, rng.uniform(0.45, 1.0), rng.random()))
        x += rng.randint(30, 110)
    def pine(px, scale, light):
        gy = 232 + periodic(px % w, w, base)
        height = 110 * scale + 20
        c.rect(px - 3, gy - height * 0.3, 6, height * 0.3 + 4, trunk)
        tiers = 5
        for k in range(tiers):
            ty = gy - height * 0.25 - k * height * 0.15
            half = (tiers - k) * 6 * scale + 5
            c.polygon([(px - half, ty), (px, ty - height * 0.28), (px + half, ty)], needle)
            # moonlight on the right edge of each tier
            c.polygon([(px + half * 0.4, ty - 2), (px, ty - height * 0.28), (px + half, ty)], needle_l if light > 0.5 else needle)
    for px, s, l in items:
        for ox in (-w, 0, w):
            pine(px + ox, s, l)
    # forest floor band
    for x in range(w):
        gy = int(232 + periodic(x, w, base))
        for y in range(gy, h):
            c.put(x, y, mix((18, 28, 36), (12, 16, 26), (y - gy) / max(1, h - gy)))
        if (x * 37) % 11 < 4:
            c.put(x, gy - 1, (28, 52, 50))
    # fireflies: teal and amber dots, wrapped like the trees
    for _ in range(40):
        x, y = rng.randint(0, w - 1), rng.randint(120, 250)
        col = TEAL_GLOW if rng.random() < 0.6 else AMBER_L
        for ox in (-w, 0, w):
            c.glow(x + ox, y, 3, col, 0.7)
            c.put(x + ox, y, col)
    c.outline((10, 12, 22))
    return c


# --- particles -----------------------------------------------------------------------------------
def spark():
    c = Canvas(8, 8)
    c.glow(4, 4, 4, (255, 240, 200), 1.0)
    c.line(4, 0.5, 4, 7.5, (255, 255, 230), 0.5)
    c.line(0.5, 4, 7.5, 4, (255, 255, 230), 0.5)
    c.put(3, 3, WHITE)
    c.put(4, 4, WHITE)
    c.put(3, 4, WHITE)
    c.put(4, 3, WHITE)
    return c


def smoke():
    frames = []
    rng = random.Random(44)
    for i in range(4):
        f = Canvas(16, 16)
        a = [0.9, 0.75, 0.5, 0.25][i]
        r = 3 + i * 1.4
        for k in range(4):
            ox, oy = rng.uniform(-2, 2) * (1 + i * 0.4), rng.uniform(-2, 2) * (1 + i * 0.4)
            f.ellipse(8 + ox, 8 + oy, r * 0.7, r * 0.7, (200, 200, 210, round(255 * a * 0.6)))
        f.ellipse(8, 8, r * 0.6, r * 0.55, (230, 230, 236, round(255 * a * 0.7)))
        frames.append(f)
    return sheet(frames, 4)


def shard():
    c = Canvas(8, 8)
    c.polygon([(1, 2), (6, 0.5), (7.5, 5), (3, 7.5)], STONE_L)
    c.polygon([(6, 0.5), (7.5, 5), (4, 4)], STONE)
    c.put(2, 2, WHITE)
    return c
