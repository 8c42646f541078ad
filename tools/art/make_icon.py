#!/usr/bin/env python3
"""Draws the desktop icon, packaging/corvalune.png: the hero's first frame on a night disc.

    python3 tools/art/make_icon.py

Standard library only and deterministic, like the sprites it borrows from.
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the tool folder free of __pycache__
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from canvas import Canvas  # noqa: E402
import player  # noqa: E402
from palette import NIGHT_2, OUTLINE, TEAL_D  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SIZE = 128


def icon():
    picture = Canvas(SIZE, SIZE)
    picture.circle(SIZE / 2 - 0.5, SIZE / 2 - 0.5, SIZE / 2 - 2, OUTLINE)
    picture.circle(SIZE / 2 - 0.5, SIZE / 2 - 0.5, SIZE / 2 - 6, NIGHT_2)
    picture.ring(SIZE / 2 - 0.5, SIZE / 2 - 0.5, SIZE / 2 - 12, SIZE / 2 - 8, TEAL_D)
    hero = player.player_sheet().crop(0, 0, 32, 32).scaled(3)
    picture.blit(hero, (SIZE - hero.w) // 2, (SIZE - hero.h) // 2)
    return picture


if __name__ == "__main__":
    out = os.path.join(ROOT, "packaging", "corvalune.png")
    icon().save(out)
    print(out)
