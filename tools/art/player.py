"""The player: a hooded wanderer with a crow-beak mask, teal cloak and amber scarf."""
import math

from canvas import Canvas, compose, sheet, shade
from palette import *
from rig import ik, polar, wave

W = H = 32
BODY = (78, 84, 124)     # a touch lighter than the night so the figure reads against it
LEGS = (56, 58, 92)
GROUND = 29.5  # sole of the boots


def pose(hip=(15, 20), lean=0, front_foot=(17, 29.5), back_foot=(13, 29.5), front_hand=None,
         back_hand=None, sway=0, scarf=0, head_tilt=0, weapon=None, eye="open", flash=None,
         hammer=None, knee_bend=(1, 1)):
    return dict(hip=hip, lean=lean, ff=front_foot, bf=back_foot, fh=front_hand, bh=back_hand,
                sway=sway, scarf=scarf, tilt=head_tilt, weapon=weapon, eye=eye, flash=flash,
                hammer=hammer, kb=knee_bend)


def draw(p):
    hx, hy = p["hip"]
    nx, ny = polar(hx, hy, 7, -90 + p["lean"])
    sx, sy = polar(hx, hy, 5.5, -90 + p["lean"])  # shoulder
    cx, cy = polar(nx, ny, 4, -90 + p["lean"] + p["tilt"])  # head centre
    cx += 1
    fh = p["fh"] or (sx + 3, sy + 6)
    bh = p["bh"] or (sx - 2, sy + 6)
    sway, scarf = p["sway"], p["scarf"]

    def leg(foot, bend):
        def f(m):
            kx, ky = ik(hx, hy, foot[0], foot[1], 5, 5, bend)
            m.line(hx, hy, kx, ky, WHITE, 1.4)
            m.line(kx, ky, foot[0], foot[1] - 1, WHITE, 1.3)
        return f

    def boot(foot):
        def f(m):
            m.rect(round(foot[0]) - 2, round(foot[1]) - 2, 4, 2, WHITE)
            m.put(round(foot[0]) + 2, round(foot[1]) - 1, WHITE)
        return f

    def arm(hand, bend):
        def f(m):
            ex, ey = ik(sx, sy, hand[0], hand[1], 4, 4, bend)
            m.line(sx, sy, ex, ey, WHITE, 1.2)
            m.line(ex, ey, hand[0], hand[1], WHITE, 1.1)
        return f

    def glove(hand):
        return lambda m: m.circle(hand[0], hand[1], 1.5, WHITE)

    def cloak(m):
        m.polygon([(nx - 2.5, ny - 0.5), (nx + 1.5, ny), (hx + 1, hy + 3), (hx - 4 + sway * 0.6, hy + 6),
                   (hx - 8 + sway, hy + 4), (nx - 5 + sway * 0.4, ny + 5)], WHITE)

    def torso(m):
        m.line(hx, hy, nx, ny + 1, WHITE, 3.1)

    def head(m):
        m.circle(cx, cy, 4.3, WHITE)
        # the hood's peak trails backwards
        m.polygon([(cx - 3, cy - 3), (cx - 7 + sway * 0.3, cy - 1), (cx - 3, cy + 1)], WHITE)

    def face(m):
        m.ellipse(cx + 1.8, cy + 0.3, 2.2, 2.6, WHITE)

    def beak(m):
        m.polygon([(cx + 0.5, cy - 1), (cx + 7, cy + 1.2), (cx + 0.5, cy + 2.5)], WHITE)

    def scarf_part(m):
        m.line(nx - 2, ny, nx + 2, ny, WHITE, 1.3)
        m.polygon([(nx - 2, ny - 1), (nx - 7 - scarf, ny + scarf * 0.5 - 1), (nx - 8 - scarf, ny + 2 + scarf * 0.3),
                   (nx - 2, ny + 1.5)], WHITE)

    parts = [
        (arm(bh, -1), shade(BODY, 0.75)),
        (glove(bh), AMBER_D),
        (leg(p["bf"], p["kb"][1]), shade(LEGS, 0.8)),
        (boot(p["bf"]), shade(WOOD_D, 0.8)),
        (cloak, TEAL_D),
        (torso, BODY),
        (leg(p["ff"], p["kb"][0]), LEGS),
        (boot(p["ff"]), WOOD_D),
        (scarf_part, AMBER),
        (head, TEAL),
        (face, (30, 26, 44)),
        (beak, BONE),
    ]
    hammer = p["hammer"]
    weapon_parts = []
    if hammer is not None:
        ang = hammer
        def handle(m):
            ex, ey = polar(fh[0], fh[1], 7, ang)
            bx, by = polar(fh[0], fh[1], -2, ang)
            m.line(bx, by, ex, ey, WHITE, 0.9)
        def head_h(m):
            ex, ey = polar(fh[0], fh[1], 7, ang)
            a1 = polar(ex, ey, 3, ang + 90)
            a2 = polar(ex, ey, 3, ang - 90)
            m.line(a1[0], a1[1], a2[0], a2[1], WHITE, 2.2)
        weapon_parts = [(handle, WOOD_L), (head_h, METAL)]
    elif p["weapon"] == "gun":
        def gun(m):
            m.rect(round(fh[0]) - 1, round(fh[1]) - 2, 6, 3, WHITE)
        weapon_parts = [(gun, METAL)]
    parts += [(arm(fh, -1), BODY)] + weapon_parts + [(glove(fh), AMBER)]
    fig = compose(W, H, parts, OUTLINE)

    # details painted over the outlined figure
    ex, ey = round(cx + 1.5), round(cy - 1)
    if p["eye"] == "open":
        fig.put(ex, ey, TEAL_GLOW)
        fig.put(ex + 1, ey, TEAL_L)
    elif p["eye"] == "shut":
        fig.put(ex, ey, OUTLINE)
        fig.put(ex + 1, ey, OUTLINE)
    elif p["eye"] == "hurt":
        fig.put(ex, ey, RED)
        fig.put(ex + 1, ey + 1, RED)
        fig.put(ex + 1, ey - 1, RED)
    fig.put(round(hx) - 1, round(hy) - 1, AMBER_L)  # belt buckle glint
    if hammer is not None:
        ex2, ey2 = polar(fh[0], fh[1], 7, hammer)
        fig.blend(round(ex2), round(ey2), TEAL_GLOW, 0.8)
    if p["flash"]:
        fx, fy = p["flash"]
        fig.glow(fx, fy, 6, AMBER, 1.0)
        fig.polygon([(fx - 2, fy - 3), (fx + 4, fy), (fx - 2, fy + 3)], AMBER_L)
        fig.put(round(fx), round(fy), WHITE)
    return fig


def idle(i):
    b = [0, 0, 1, 1][i]  # breathing: the chest sinks one pixel and rises again
    return pose(hip=(15, 20 + b * 0.5), lean=2, front_hand=(19, 20 + b), back_hand=(12, 20 + b),
                sway=[0, -0.5, -1, -0.5][i], scarf=[0, 1, 2, 1][i], head_tilt=b * 3, weapon="gun",
                eye="shut" if i == 3 else "open")


def run(i):
    t = i / 6.0
    c, s = math.cos(2 * math.pi * t), math.sin(2 * math.pi * t)
    def foot(phase_c, phase_s):
        x = 15 + 6 * phase_c
        lift = max(0.0, phase_s) * 4.5
        return (x, GROUND - lift)
    bob = abs(s) * -1.2 + 0.5
    ff = foot(c, s)
    bf = foot(-c, -s)
    return pose(hip=(15, 20 + bob), lean=12, front_foot=ff, back_foot=bf,
                front_hand=(18 - 4 * c, 21 + bob - 2 * abs(c)), back_hand=(18 + 4 * c, 21 + bob - 2 * abs(c)),
                sway=-3 - 1.5 * s, scarf=3 + 1.5 * c, weapon="gun")


def jump():
    return pose(hip=(15, 17), lean=6, front_foot=(19, 23), back_foot=(12, 26), front_hand=(20, 12),
                back_hand=(10, 14), sway=1, scarf=0, head_tilt=-6, weapon="gun", knee_bend=(1, 1))


def fall():
    return pose(hip=(15, 18), lean=-2, front_foot=(18, 27.5), back_foot=(11, 27), front_hand=(21, 9),
                back_hand=(9, 10), sway=3, scarf=-2, head_tilt=4, weapon="gun")


def hurt():
    return pose(hip=(13, 20), lean=-22, front_foot=(17, 29.5), back_foot=(10, 29.5), front_hand=(19, 12),
                back_hand=(6, 15), sway=4, scarf=-3, head_tilt=-14, eye="hurt")


def smash(i):
    # wind up behind the head, swing over, strike the ground, recover
    hips = [(14, 20.5), (15, 20), (17, 22), (16, 21)]
    leans = [-10, 6, 24, 10]
    hands = [(11, 12), (18, 11), (22, 21), (20, 19)]
    angles = [-125, -60, 30, -10]
    ff = [(17, 29.5), (19, 29.5), (21, 29.5), (19, 29.5)]
    bf = [(12, 29.5), (12, 29.5), (11, 29.5), (12, 29.5)]
    return pose(hip=hips[i], lean=leans[i], front_foot=ff[i], back_foot=bf[i], front_hand=hands[i],
                back_hand=(hands[i][0] - 2, hands[i][1] + 1), sway=[1, -2, -4, -2][i],
                scarf=[0, 2, 4, 2][i], hammer=angles[i], head_tilt=[-6, 0, 8, 3][i])


def shoot(i):
    recoil = [0, -1.5][i]
    return pose(hip=(15 + recoil * 0.3, 20), lean=4 + recoil, front_foot=(19, 29.5), back_foot=(11, 29.5),
                front_hand=(22 + recoil, 16), back_hand=(17 + recoil, 18), sway=-1, scarf=1 + i,
                weapon="gun", flash=(27, 14.5) if i == 0 else None)


def player_sheet():
    frames = [None] * 32
    for i in range(4):
        frames[i] = draw(idle(i))
    for i in range(6):
        frames[8 + i] = draw(run(i))
    frames[16] = draw(jump())
    frames[17] = draw(fall())
    frames[18] = draw(hurt())
    for i in range(4):
        frames[24 + i] = draw(smash(i))
    for i in range(2):
        frames[28 + i] = draw(shoot(i))
    blank = Canvas(W, H)
    return sheet([f or blank for f in frames], 8)
