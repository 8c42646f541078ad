"""Small posing helpers for the characters: two-bone limbs and angle maths."""
import math


def ik(ax, ay, bx, by, l1, l2, bend=1):
    """Joint position of a two-bone limb from root (ax, ay) to tip (bx, by).
    With bend +1 a limb pointing down gets its joint in front (+x: knees of a right-facing
    figure) and a limb pointing forward gets it above; -1 mirrors that (elbows hang down)."""
    dx, dy = bx - ax, by - ay
    d = math.hypot(dx, dy)
    d = max(0.01, min(d, l1 + l2 - 0.01))
    a = (l1 * l1 - l2 * l2 + d * d) / (2 * d)
    h = math.sqrt(max(0.0, l1 * l1 - a * a))
    ux, uy = dx / d, dy / d
    mx, my = ax + ux * a, ay + uy * a
    return mx + uy * h * bend, my - ux * h * bend


def polar(x, y, length, angle_deg):
    a = math.radians(angle_deg)
    return x + math.cos(a) * length, y + math.sin(a) * length


def wave(t, phase=0.0):
    return math.sin(2 * math.pi * (t + phase))
