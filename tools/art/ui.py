"""Menu and HUD pieces and the title logo."""
import math

from canvas import Canvas, sheet, shade, mix
from palette import *
import world

# 5 x 7 capitals for the logo; '#' is ink.
FONT = {
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "V": ["#   #", "#   #", "#   #", "#   #", " # # ", " # # ", "  #  "],
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "N": ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
}


def framed(w, h, fill, border, inner, corner, radius=3):
    """A bevelled rectangle: outline, border colour, an inner line and the fill."""
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            # cut the corners for a rounded look
            dx = min(x, w - 1 - x)
            dy = min(y, h - 1 - y)
            if dx + dy < radius - 1:
                continue
            edge = min(dx, dy)
            if edge == 0 or dx + dy == radius - 1:
                col = rgba_of(OUTLINE)
            elif edge <= 2:
                col = rgba_of(border)
            elif edge == 3:
                col = rgba_of(inner)
            else:
                col = rgba_of(fill)
            c.put(x, y, col)
    for k in corner:
        x, y = k
        c.put(x, y, AMBER_L)
    return c


def rgba_of(c):
    return c if len(c) == 4 else c + (255,)


def button(state):
    w, h = 256, 64
    if state == "normal":
        fill, border, inner = (30, 34, 58), TEAL_D, (44, 50, 80)
    elif state == "hover":
        fill, border, inner = (40, 48, 78), TEAL_L, AMBER
    else:
        fill, border, inner = (20, 22, 40), TEAL, (14, 16, 30)
    c = framed(w, h, fill, border, inner, [])
    # a soft vertical sheen on the fill
    for y in range(4, h - 4):
        t = (y - 4) / (h - 8)
        f = (1.12 - 0.24 * t) if state != "down" else (0.85 + 0.2 * t)
        for x in range(4, w - 4):
            p = c.get(x, y)
            if p[3] and p[:3] == fill:
                c.put(x, y, shade(fill, f))
    # small diamond studs at both ends
    for cx in (12, w - 13):
        col = AMBER_L if state == "hover" else AMBER if state == "down" else AMBER_D
        c.polygon([(cx - 3, 32), (cx, 29), (cx + 3, 32), (cx, 35)], col)
    return c


def panel():
    w, h = 512, 384
    c = framed(w, h, (16, 18, 34, 215), (40, 110, 120, 255), (60, 64, 96, 255), [], radius=6)
    # corner ornaments
    for cx, cy in ((10, 10), (w - 11, 10), (10, h - 11), (w - 11, h - 11)):
        c.polygon([(cx - 4, cy), (cx, cy - 4), (cx + 4, cy), (cx, cy + 4)], AMBER)
        c.put(cx, cy, AMBER_L)
    # thin title rule
    for x in range(40, w - 40):
        c.put(x, 56, (60, 140, 140, 180))
    return c


def bar_back():
    return framed(256, 24, (12, 12, 24, 230), (50, 54, 84), (24, 26, 44), [], radius=3)


def bar_fill():
    c = Canvas(256, 24)
    for y in range(24):
        for x in range(256):
            if y < 4 or y > 19:
                continue
            v = 255 if y < 8 else 236 if y < 16 else 210
            c.put(x, y, (v, v, v))
    return c


def heart_icon():
    return world.heart()


def shield_icon():
    return world.armour()


def gem_icon():
    return world.gem_frame(0)


def logo():
    w, h = 512, 160
    c = Canvas(w, h)
    # emblem: a crescent moon with a crow perched across it
    mx, my = 256, 40
    c.glow(mx, my, 44, TEAL_GLOW, 0.35)
    c.circle(mx, my, 30, (236, 230, 206))
    c.circle(mx + 10, my - 6, 26, (0, 0, 0, 0))
    moon = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            d1 = math.hypot(x + 0.5 - mx, y + 0.5 - my)
            d2 = math.hypot(x + 0.5 - mx - 12, y + 0.5 - my + 7)
            if d1 <= 30 and d2 > 26:
                moon.put(x, y, mix((250, 240, 210), AMBER, max(0.0, (x - mx + 30) / 60)))
    moon.outline(OUTLINE)
    c = Canvas(w, h)
    c.glow(mx, my, 46, TEAL_GLOW, 0.3)
    c.blit(moon)
    crow = Canvas(w, h)
    ink = (20, 18, 34)
    crow.ellipse(mx + 2, my + 4, 13, 8, ink)                    # body
    crow.circle(mx + 14, my - 5, 6, ink)                         # head
    crow.polygon([(mx + 18, my - 7), (mx + 30, my - 3), (mx + 18, my - 2)], ink)  # beak
    crow.polygon([(mx - 8, my + 2), (mx - 24, my + 14), (mx - 6, my + 9)], ink)   # tail
    crow.polygon([(mx - 4, my - 1), (mx - 20, my - 20), (mx + 8, my - 2)], ink)   # raised wing
    crow.line(mx + 2, my + 11, mx + 1, my + 18, ink, 0.8)
    crow.line(mx + 7, my + 11, mx + 8, my + 18, ink, 0.8)
    crow.line(mx - 16, my + 18, mx + 20, my + 18, WOOD_D, 1.2)   # branch
    crow.outline(TEAL_L)
    c.blit(crow)
    c.put(mx + 15, my - 6, AMBER_L)
    c.put(mx + 16, my - 6, AMBER)
    # the word, 8x scale, gradient from teal to pale, dark outline and a drop shadow
    word = "CORVALUNE"
    k = 8
    tw = len(word) * 6 * k - k
    x0, y0 = (w - tw) // 2, 88
    letters = Canvas(w, h)
    for i, ch in enumerate(word):
        for gy, row in enumerate(FONT[ch]):
            for gx, bit in enumerate(row):
                if bit != "#":
                    continue
                for yy in range(k):
                    for xx in range(k):
                        y = y0 + gy * k + yy
                        t = (gy * k + yy) / (7 * k)
                        col = mix(TEAL_GLOW, TEAL_D, t)
                        if yy == 0 and (gy == 0 or FONT[ch][gy - 1][gx] != "#"):
                            col = (230, 255, 248)
                        letters.put(x0 + (i * 6 + gx) * k + xx, y, col)
    shadow = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            if letters.get(x - 4, y - 4)[3]:
                shadow.put(x, y, (60, 30, 20, 255))
    for y in range(h):
        for x in range(w):
            if shadow.get(x, y)[3] and not letters.get(x, y)[3]:
                shadow.put(x, y, AMBER_D)
    c.blit(shadow)
    letters.outline(OUTLINE)
    c.blit(letters)
    c.outline(OUTLINE)
    return c
