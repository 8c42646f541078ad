"""Enemies: the melee grunt, the snail turret, the bomber, the fish and its spawner, and their
projectiles. All face right."""
import math
import random

from canvas import Canvas, Part, compose, sheet, shade, mix
from palette import *
from rig import ik, polar, wave

SKIN = PURPLE
SKIN_D = PURPLE_D


# --- grunt ---------------------------------------------------------------------------------------
def grunt(body=(14, 17), hunch=0, breathe=0, head=None, ff=(17, 29.5), bf=(11, 29.5), fh=None, bh=None,
          eyes="open", claw_swoosh=None, jaw=0):
    bx, by = body
    hip = (bx - 1, by + 4)
    hx, hy = head or (bx + 7, by - 1 + hunch)
    sh = (bx + 4, by - 1)
    fh = fh or (bx + 9, by + 9)
    bh = bh or (bx + 5, by + 10)

    def leg(foot, shade_f):
        def f(m):
            kx, ky = ik(hip[0], hip[1], foot[0], foot[1] - 1, 4.5, 4.5, 1)
            m.line(hip[0], hip[1], kx, ky, WHITE, 1.7)
            m.line(kx, ky, foot[0], foot[1] - 1, WHITE, 1.3)
            m.rect(round(foot[0]) - 1, round(foot[1]) - 1, 4, 1, WHITE)
        return f

    def arm(hand):
        def f(m):
            ex, ey = ik(sh[0], sh[1], hand[0], hand[1], 5, 5, -1)
            m.line(sh[0], sh[1], ex, ey, WHITE, 1.6)
            m.line(ex, ey, hand[0], hand[1], WHITE, 1.3)
        return f

    def claws(hand, toward):
        def f(m):
            for k in (-35, 0, 35):
                tx, ty = polar(hand[0], hand[1], 3.5, toward + k)
                m.line(hand[0], hand[1], tx, ty, WHITE, 0.6)
        return f

    def claw_dir(hand):
        ex, ey = ik(sh[0], sh[1], hand[0], hand[1], 5, 5, -1)
        return math.degrees(math.atan2(hand[1] - ey, hand[0] - ex))

    def torso(m):
        m.ellipse(bx, by + 1, 6.5, 5.5 + breathe * 0.5, WHITE)
        m.ellipse(bx - 1, by - 2 - breathe * 0.5, 5, 3.5, WHITE)  # the hunched back

    def headp(m):
        m.ellipse(hx, hy, 4.2, 3.6, WHITE)
        m.polygon([(hx + 1, hy + 1), (hx + 6, hy + 1.5 + jaw * 0.5), (hx + 1, hy + 3.5 + jaw)], WHITE)

    def horns(m):
        m.line(hx - 2, hy - 2, hx - 5, hy - 6, WHITE, 0.8)
        m.line(hx + 0.5, hy - 3, hx + 0.5, hy - 6.5, WHITE, 0.7)

    def belly(m):
        m.ellipse(bx + 2, by + 3, 3, 2.5, WHITE)

    parts = [
        (arm(bh), shade(SKIN, 0.7)),
        (claws(bh, claw_dir(bh)), BONE_D),
        (leg(bf, 0.7), shade(SKIN_D, 0.8)),
        (torso, SKIN),
        (belly, PURPLE_L),
        (leg(ff, 1), SKIN_D),
        (horns, BONE),
        (headp, SKIN),
        (arm(fh), SKIN),
        (claws(fh, claw_dir(fh)), BONE),
    ]
    fig = compose(32, 32, parts, OUTLINE)
    ex, ey = round(hx + 1), round(hy - 1)
    if eyes == "open":
        fig.put(ex, ey, AMBER_L)
        fig.put(ex + 2, ey, AMBER)
        fig.blend(ex, ey - 1, AMBER, 0.35)
    elif eyes == "dead":
        fig.put(ex, ey, OUTLINE)
        fig.put(ex + 2, ey, OUTLINE)
    elif eyes == "angry":
        fig.put(ex, ey, RED)
        fig.put(ex + 2, ey, AMBER_L)
        fig.put(ex - 1, ey - 1, OUTLINE)
        fig.put(ex + 3, ey - 1, OUTLINE)
    # teeth
    fig.put(round(hx + 3), round(hy + 2), BONE)
    fig.put(round(hx + 5), round(hy + 2), BONE)
    if claw_swoosh is not None:
        a0, a1, r = claw_swoosh
        fig.ring(sh[0], sh[1], r - 1.5, r, (255, 240, 210), math.radians(a0), math.radians(a1))
        fig.ring(sh[0], sh[1], r - 3, r - 1.5, (255, 200, 120, 120), math.radians(a0), math.radians(a1))
    return fig


def grunt_idle():
    return sheet([grunt(body=(14, 17 + b * 0.5), breathe=b, hunch=b * 0.5, fh=(23, 26 + b), bh=(19, 27 + b))
                  for b in (0, 0.5, 1, 0.5)], 4)


def grunt_walk():
    frames = []
    for i in range(4):
        t = i / 4
        c, s = math.cos(2 * math.pi * t), math.sin(2 * math.pi * t)
        def foot(cc, ss):
            return (14 + 4 * cc, 29.5 - max(0.0, ss) * 3)
        bob = -abs(s) * 1.0
        frames.append(grunt(body=(14, 17.5 + bob), ff=foot(c, s), bf=foot(-c, -s), fh=(22 - 3 * c, 26 + bob),
                            bh=(20 + 3 * c, 26 + bob), hunch=bob))
    return sheet(frames, 4)


def grunt_attack():
    frames = [
        grunt(body=(13, 17), head=(19, 14), fh=(12, 7), bh=(18, 25), eyes="angry", jaw=1),
        grunt(body=(15, 18), head=(22, 16), fh=(27, 16), bh=(19, 26), eyes="angry", jaw=2,
              claw_swoosh=(-80, 40, 12), ff=(20, 29.5)),
        grunt(body=(16, 19), head=(23, 18), fh=(26, 27), bh=(17, 25), eyes="angry", jaw=2,
              claw_swoosh=(20, 80, 11), ff=(20, 29.5)),
        grunt(body=(14, 17.5), fh=(23, 24), bh=(19, 26), eyes="open", jaw=0.5),
    ]
    return sheet(frames, 4)


def grunt_lying(sink=0.0):
    """The grunt flat on its belly, head to the right; sink lowers it into the ground."""
    y = 25 + sink

    def legs(m):
        m.line(10, y + 1, 4, y + 3, WHITE, 1.5)
        m.line(4, y + 3, 2, y + 1, WHITE, 1.2)

    def torso(m):
        m.ellipse(13, y, 8, 4, WHITE)
        m.ellipse(11, y - 2.5, 5, 2.5, WHITE)

    def headp(m):
        m.ellipse(23, y + 1.5, 4, 3, WHITE)
        m.polygon([(24, y + 2), (29, y + 3), (24, y + 4.2)], WHITE)

    def horns(m):
        m.line(21, y - 0.5, 18, y - 4, WHITE, 0.8)

    def arm(m):
        m.line(17, y + 1, 22, y + 4, WHITE, 1.3)
        m.line(22, y + 4, 27, y + 4.5, WHITE, 1.1)

    def claws(m):
        for k in (-1, 0, 1):
            m.line(27, y + 4.5, 30, y + 4.5 + k * 1.2, WHITE, 0.6)

    fig = compose(32, 32, [(legs, shade(SKIN_D, 0.8)), (torso, SKIN), (horns, BONE), (headp, SKIN),
                           (arm, SKIN), (claws, BONE_D)], OUTLINE)
    fig.put(24, round(y + 0.5), OUTLINE)   # shut eye
    fig.put(25, round(y + 0.5), OUTLINE)
    return fig


def grunt_death():
    stagger = grunt(body=(12, 17), head=(18, 12), fh=(22, 11), bh=(8, 14), eyes="dead", jaw=2,
                    ff=(17, 29.5), bf=(9, 29.5))
    buckle = grunt(body=(14, 21), hunch=3, head=(20, 22), fh=(22, 28), bh=(18, 28), eyes="dead", jaw=2,
                   ff=(19, 29.5), bf=(9, 29.5))
    lying = grunt_lying()
    # the body sinks and thins into a purple wisp
    fade = Canvas(32, 32)
    fade.blit(grunt_lying(1.5), 0, 0, 0.5)
    rng = random.Random(7)
    for _ in range(14):
        x, y = rng.randint(4, 28), rng.randint(12, 26)
        fade.blend(x, y, PURPLE_L, rng.uniform(0.4, 0.8))
    return sheet([stagger, buckle, lying, fade], 4)


# --- snail turret --------------------------------------------------------------------------------
SLUG = (150, 168, 120)
SLUG_D = (98, 116, 84)


def snail(i, shell=True):
    t = i / 4
    squish = wave(t) * 0.8
    frantic = 0 if shell else wave(t * 2) * 1.5

    def body(m):
        m.ellipse(15, 26.5 - squish * 0.3, 12.5 + squish, 3.5 + squish * 0.3, WHITE)
        m.ellipse(26, 22 + frantic * 0.3, 3.6, 5, WHITE)  # head raised at the front

    def stalks(m):
        for k, (dx, l) in enumerate(((1, 6), (-1.5, 5))):
            ang = -70 + wave(t, k * 0.3) * 10 + frantic * 8
            ex, ey = polar(26 + dx, 19, l, ang)
            m.line(26 + dx, 19, ex, ey, WHITE, 0.7)
            m.circle(ex, ey, 1.3, WHITE)

    def foot_edge(m):
        m.rect(4, 28, 23, 1, WHITE)

    parts = [(stalks, SLUG_D), (body, SLUG), (foot_edge, SLUG_D)]
    if shell:
        def dome(m):
            m.ellipse(13, 18 - squish * 0.3, 10, 9, WHITE)
            m.rect(3, 18, 21, 7, WHITE)

        def plates(m):
            m.ellipse(13, 18 - squish * 0.3, 7, 6.5, WHITE)

        def barrel(m):
            m.line(16, 11, 23, 5, WHITE, 2)

        parts += [(barrel, METAL_D), (dome, METAL), (plates, STONE)]
    else:
        def soft(m):
            m.ellipse(12, 22.5 - squish * 0.4, 8, 4.5 + squish * 0.4, WHITE)
        parts += [(soft, (206, 130, 150))]
    fig = compose(32, 32, parts, OUTLINE)
    for k, (dx, l) in enumerate(((1, 6), (-1.5, 5))):
        ang = -70 + wave(t, k * 0.3) * 10 + frantic * 8
        ex, ey = polar(26 + dx, 19, l, ang)
        fig.put(round(ex), round(ey), OUTLINE)
    if shell:
        # rivets and seams on the armour, a teal core that pulses as it charges
        for x, y in ((6, 20), (10, 13), (16, 13), (20, 20), (13, 22)):
            fig.put(x, y - round(squish * 0.3), METAL_L)
        fig.hline(5, 21, 24, METAL_D)
        glow = 0.5 + 0.5 * wave(t)
        fig.glow(13, 18, 4 + glow * 2, TEAL_GLOW, 0.5 + 0.4 * glow)
        fig.put(13, 18, TEAL_GLOW)
        fig.put(22, 6, TEAL_L if glow > 0.5 else TEAL)
        fig.put(23, 5, TEAL_GLOW if glow > 0.5 else TEAL_L)
    else:
        for x, y in ((9, 21), (14, 20), (11, 24)):
            fig.put(x, y, (236, 170, 184))
    fig.put(28, 22 + round(frantic * 0.3), OUTLINE)  # mouth
    fig.put(27, 20 + round(frantic * 0.3), OUTLINE)  # eye spot
    return fig


def turret_shell():
    return sheet([snail(i, True) for i in range(4)], 4)


def turret_noshell():
    return sheet([snail(i, False) for i in range(4)], 4)


def enemy_bullet():
    c = Canvas(12, 12)
    c.glow(6, 6, 6, (255, 80, 120), 0.9)
    c.circle(6, 6, 3, RED)
    c.outline(OUTLINE)
    c.circle(6, 6, 2, (255, 130, 150))
    c.put(5, 5, WHITE)
    return c


def shell_piece(n):
    rng = random.Random(100 + n)
    c = Canvas(16, 16)
    pts = []
    k = 5 + n % 3
    for i in range(k):
        a = 2 * math.pi * i / k + rng.uniform(-0.3, 0.3)
        r = rng.uniform(4, 7)
        pts.append((8 + math.cos(a) * r, 8 + math.sin(a) * r * 0.8))
    p = Canvas(16, 16)
    p.polygon(pts, WHITE)
    part = Part(16, 16)
    part.mask = p
    c.blit(part.finish(METAL, OUTLINE))
    c.line(8 - 3, 8 + rng.uniform(-2, 2), 8 + 3, 8 + rng.uniform(-2, 2), STONE, 0.5)
    c.put(7 + rng.randint(-1, 1), 6, METAL_L)
    if n == 1:
        c.put(9, 9, TEAL_L)
    return c


# --- bomber --------------------------------------------------------------------------------------
def bomber(wing, hatch=0.0, bomb_drop=None, bob=0.0, glide=False):
    """wing: wing angle in degrees (180 = straight back, -130 raised, 150 lowered); hatch 0 shut
    .. 1 open; bomb_drop: pixels the bomb has fallen, None for no bomb."""
    cx, cy = 25, 15 + bob

    def wing_shape(a, dx, dy):
        def f(m):
            rx, ry = cx + dx, cy - 3 + dy
            lead = polar(rx, ry, 11, a + 14)
            tip = polar(rx, ry, 21, a)
            back = (cx - 6 + dx, cy + 1 + dy)
            pts = [(rx + 3, ry), lead, tip]
            # scalloped trailing edge between the tip and the body
            for k in (0.33, 0.66):
                ex = tip[0] + (back[0] - tip[0]) * k
                ey = tip[1] + (back[1] - tip[1]) * k
                pts.append(((ex + rx) / 2 * 0.35 + ex * 0.65, (ey + ry) / 2 * 0.35 + ey * 0.65))
                pts.append(polar(rx, ry, 21 - 8 * k - 3, a - 12 - 20 * k))
            pts.append(back)
            m.polygon(pts, WHITE)
        return f

    def body(m):
        m.ellipse(cx, cy, 6.5, 5.5, WHITE)
        m.polygon([(cx - 5, cy - 1), (cx - 13, cy + 3), (cx - 5, cy + 3)], WHITE)  # tail

    def head(m):
        m.ellipse(cx + 7, cy - 1, 3.8, 3.3, WHITE)
        m.polygon([(cx + 5, cy - 3), (cx + 6, cy - 8), (cx + 8.5, cy - 3)], WHITE)  # ear
        m.polygon([(cx + 9, cy), (cx + 13, cy + 1), (cx + 9, cy + 2)], WHITE)  # snout

    def pod(m):
        m.rect(cx - 4, cy + 4, 9, 3, WHITE)

    def doors(m):
        gap = hatch * 4
        m.rect(cx - 4, cy + 7, 4 - gap * 0.5, 2, WHITE)
        m.rect(cx + 1 + gap * 0.5, cy + 7, 4 - gap * 0.5, 2, WHITE)

    def bombp(m):
        m.circle(cx + 0.5, cy + 8 + bomb_drop, 3, WHITE)

    far = wing - 18 if not glide else wing + 8
    parts = [(wing_shape(far, -2, -1), shade(PURPLE_D, 0.75))]
    if bomb_drop is not None:
        parts.append((bombp, (40, 40, 52)))
    parts += [(pod, METAL_D), (doors, METAL), (body, PURPLE), (head, PURPLE), (wing_shape(wing, 0, 0), PURPLE_L)]
    fig = compose(48, 32, parts, OUTLINE)
    # wing bones
    rx, ry = cx, cy - 3
    for k in (0, -16):
        tx, ty = polar(rx, ry, 17, wing + k)
        fig.line(rx + 1, ry + 0.5, tx, ty, shade(PURPLE_L, 0.72), 0.45)
    fig.put(round(cx + 9), round(cy - 2), AMBER_L)
    fig.put(round(cx + 10), round(cy - 2), AMBER)
    if bomb_drop is not None:
        fig.put(round(cx + 1), round(cy + 6 + bomb_drop), AMBER_L)
    if hatch > 0:
        fig.glow(cx + 0.5, cy + 7.5, 3 + hatch * 2, TEAL_GLOW, 0.5 * hatch)
    return fig


def bomber_fly():
    return sheet([bomber(w, bomb_drop=0, bob=b) for w, b in ((-125, 1), (-165, 0), (155, -1), (-170, 0))], 4)


def bomber_glide():
    return sheet([bomber(w, bomb_drop=0, glide=True, bob=b) for w, b in ((-172, 0), (-174, 0.5), (-176, 0.5), (-174, 0))], 4)


def bomber_release_bomb():
    return sheet([bomber(-174, hatch=h, bomb_drop=d, glide=True) for h, d in ((0.1, 0), (0.45, 1), (0.8, 3), (1, 6))], 4)


def bomber_release_close():
    return sheet([bomber(-174, hatch=h, glide=True) for h in (1, 0.7, 0.35, 0)], 4)


def bomb():
    c = Canvas(16, 16)
    c.circle(8, 9, 5, (44, 44, 58))
    c.line(4, 9, 12, 9, TEAL_D, 0.8)
    c.outline(OUTLINE)
    c.put(6, 7, (100, 100, 124))
    c.put(7, 6, (100, 100, 124))
    c.line(9, 4, 11, 2, WOOD_L, 0.5)
    c.glow(11.5, 2, 3, AMBER_L, 0.9)
    c.put(11, 1, WHITE)
    return c


def target():
    c = Canvas(32, 8)
    c.ellipse(16, 4, 15, 3.5, (212, 52, 60, 90))
    c.ellipse(16, 4, 11, 2.5, (0, 0, 0, 0))
    for y in range(8):
        for x in range(32):
            d = ((x + 0.5 - 16) / 15) ** 2 + ((y + 0.5 - 4) / 3.5) ** 2
            if 0.55 <= d <= 1.0:
                c.put(x, y, (230, 60, 70, 220))
            elif d < 0.55:
                c.put(x, y, (212, 52, 60, 70))
    c.ellipse(16, 4, 3, 1, (255, 120, 120, 230))
    return c


# --- fish and spawner ----------------------------------------------------------------------------
FISH = (226, 118, 74)


def fish(i):
    bend = [0, 1, 0, -1][i]
    lift = [0, -1, -2, -1][i]

    def body(m):
        m.ellipse(12, 8 + lift, 6.5, 4, WHITE)

    def tail(m):
        ty = 8 + lift + bend * 2
        m.polygon([(7, 8 + lift), (1, ty - 4), (2, ty), (1, ty + 4)], WHITE)

    def fin(m):
        m.polygon([(10, 5 + lift), (13, 1 + lift - bend), (15, 5 + lift)], WHITE)

    def belly(m):
        m.ellipse(13, 10 + lift, 4, 1.6, WHITE)

    fig = compose(24, 16, [(tail, TEAL), (fin, TEAL), (body, FISH), (belly, BONE)], OUTLINE)
    fig.put(16, 6 + lift, OUTLINE)
    fig.put(16, 7 + lift, WHITE)
    fig.put(18, 9 + lift, OUTLINE)
    return fig


def fishie():
    return sheet([fish(i) for i in range(4)], 4)


def spawner(i):
    def pipe(m):
        m.rect(10, 20, 28, 27, WHITE)

    def rim(m):
        m.rect(7, 14, 34, 8, WHITE)

    fig = compose(48, 48, [(pipe, STONE_D), (rim, STONE)], OUTLINE)
    # bricks on the pipe
    for y in range(24, 46, 5):
        fig.hline(11, 36, y, shade(STONE_D, 0.7))
        off = 0 if (y // 5) % 2 else 5
        for x in range(13 + off, 36, 10):
            fig.vline(x, y + 1, y + 4, shade(STONE_D, 0.7))
    # moss on the rim
    for x in range(8, 40):
        if (x * 7) % 5 < 3:
            fig.put(x, 14, MOSS_L)
        if (x * 13) % 7 < 2:
            fig.put(x, 15, MOSS)
    pulse = [0.6, 1.0][i]
    fig.rect(9, 16, 30, 3, mix(TEAL_D, TEAL_GLOW, 0.3 * pulse))
    fig.glow(24, 15, 14 + 4 * pulse, TEAL_GLOW, 0.5 * pulse)
    fig.hline(11, 36, 17, TEAL_GLOW if i else TEAL_L)
    for bx, by in ((18, 10), (28, 7), (23, 4)) if i else ((20, 12), (27, 11)):
        fig.circle(bx, by, 1.3, (150, 255, 236, 200))
    # runes glow on the stone
    for x, y in ((16, 32), (24, 36), (32, 31)):
        fig.put(x, y, TEAL_GLOW if i else TEAL)
        fig.put(x, y + 1, TEAL_L if i else TEAL_D)
    return fig


def spawner_sheet():
    return sheet([spawner(0), spawner(1)], 2)
