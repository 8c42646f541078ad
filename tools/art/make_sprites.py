#!/usr/bin/env python3
"""Draws every sprite of the game into Resources/Sprites and a contact sheet into docs/images.

    python3 tools/art/make_sprites.py            # everything
    python3 tools/art/make_sprites.py Player UI  # only files whose path contains one of the words

Pure standard library and fully deterministic: every random source has a fixed seed, so running
it twice gives the same bytes. basicSprite.dds and basicParticleSprite.dds belong to
tools/make_default_sprites.py and are left alone.
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the tool folder free of __pycache__
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from canvas import Canvas  # noqa: E402
import enemies  # noqa: E402
import player  # noqa: E402
import ui  # noqa: E402
import world  # noqa: E402
from palette import OUTLINE, NIGHT_2, TEAL_D  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

# path under Resources/Sprites -> (drawing function, expected size)
ASSETS = [
    ("Player/player.png", player.player_sheet, (256, 128)),
    ("Player/bullet.png", lambda: world_bullet(), (16, 8)),
    ("Player/smash.png", lambda: smash_wave(), (128, 32)),
    ("Player/hook.png", lambda: hook(), (16, 16)),
    ("Player/chain.png", lambda: chain(), (8, 8)),
    ("Grunt1/grunt_idle.dds", enemies.grunt_idle, (128, 32)),
    ("Grunt1/grunt_walk.dds", enemies.grunt_walk, (128, 32)),
    ("Grunt1/grunt_attack.dds", enemies.grunt_attack, (128, 32)),
    ("Grunt1/grunt_death.dds", enemies.grunt_death, (128, 32)),
    ("Turret/turret_shell.png", enemies.turret_shell, (128, 32)),
    ("Turret/grunt_turret_idle_noshell.dds", enemies.turret_noshell, (128, 32)),
    ("Turret/enemy_bullet.png", enemies.enemy_bullet, (12, 12)),
    ("Turret/shell_piece1.png", lambda: enemies.shell_piece(1), (16, 16)),
    ("Turret/shell_piece2.png", lambda: enemies.shell_piece(2), (16, 16)),
    ("Turret/shell_piece3.png", lambda: enemies.shell_piece(3), (16, 16)),
    ("Turret/shell_piece4.png", lambda: enemies.shell_piece(4), (16, 16)),
    ("Bomber/grunt_bomber_fly.dds", enemies.bomber_fly, (192, 32)),
    ("Bomber/grunt_bomber_glide_latchclosed.dds", enemies.bomber_glide, (192, 32)),
    ("Bomber/grunt_bomber_glide_releaseclose.dds", enemies.bomber_release_close, (192, 32)),
    ("Bomber/grunt_bomber_glide_releasebomb.dds", enemies.bomber_release_bomb, (192, 32)),
    ("Bomber/bomb.png", enemies.bomb, (16, 16)),
    ("Bomber/target.png", enemies.target, (32, 8)),
    ("Fishie/fishie.png", enemies.fishie, (96, 16)),
    ("Fishie/spawner.png", enemies.spawner_sheet, (96, 48)),
    ("Items/gem.png", world.gem, (96, 16)),
    ("Items/heart.png", world.heart, (16, 16)),
    ("Items/armour.png", world.armour, (16, 16)),
    ("Items/exit_door.png", world.exit_door_sheet, (128, 48)),
    ("Tiles/ground.png", world.ground, (256, 64)),
    ("Tiles/platform.png", world.platform, (128, 32)),
    ("Tiles/wall.png", world.wall, (64, 256)),
    ("Tiles/crate.png", world.crate, (32, 32)),
    ("Tiles/spikes.png", world.spikes, (64, 16)),
    ("Backgrounds/sky.png", world.sky, (480, 270)),
    ("Backgrounds/mountains.png", world.mountains, (960, 270)),
    ("Backgrounds/trees.png", world.trees, (960, 270)),
    ("Particles/spark.png", world.spark, (8, 8)),
    ("Particles/smoke.png", world.smoke, (64, 16)),
    ("Particles/shard.png", world.shard, (8, 8)),
    ("UI/logo.png", ui.logo, (512, 160)),
    ("UI/button.png", lambda: ui.button("normal"), (256, 64)),
    ("UI/button_hover.png", lambda: ui.button("hover"), (256, 64)),
    ("UI/button_down.png", lambda: ui.button("down"), (256, 64)),
    ("UI/panel.png", ui.panel, (512, 384)),
    ("UI/bar_back.png", ui.bar_back, (256, 24)),
    ("UI/bar_fill.png", ui.bar_fill, (256, 24)),
    ("UI/heart_icon.png", ui.heart_icon, (16, 16)),
    ("UI/shield_icon.png", ui.shield_icon, (16, 16)),
    ("UI/gem_icon.png", ui.gem_icon, (16, 16)),
]


# --- the player's small projectiles --------------------------------------------------------------
def world_bullet():
    from palette import AMBER, AMBER_L, WHITE
    c = Canvas(16, 8)
    c.glow(9, 4, 7, AMBER, 0.7)
    c.ellipse(10, 4, 4.5, 2, AMBER_L)
    c.hline(3, 7, 4, AMBER)  # a short trail
    c.put(12, 3, WHITE)
    c.put(11, 3, WHITE)
    return c


def smash_wave():
    import math
    from canvas import sheet
    from palette import TEAL_GLOW, TEAL_L, WHITE, AMBER_L
    frames = []
    for i in range(4):
        f = Canvas(32, 32)
        r = 8 + i * 5
        a = [1.0, 0.9, 0.65, 0.35][i]
        f.ring(4, 30, r - 4, r, TEAL_L + (round(200 * a),), math.radians(-90), math.radians(0))
        f.ring(4, 30, r - 2, r - 0.5, WHITE + (round(255 * a),), math.radians(-85), math.radians(-5))
        f.ring(4, 30, r - 7, r - 4, TEAL_GLOW + (round(90 * a),), math.radians(-90), math.radians(0))
        for k in range(3):  # dust thrown up at the front of the wave
            x = 4 + r + k * 2 - 2
            f.blend(x, 29 - k * 2 - i, AMBER_L, a * 0.8)
        frames.append(f)
    return sheet(frames, 4)


def hook():
    from palette import METAL, METAL_L, METAL_D, TEAL_GLOW
    c = Canvas(16, 16)
    c.rect(1, 7, 6, 3, METAL_D)
    c.polygon([(6, 4), (14, 8), (6, 12)], METAL)
    c.polygon([(8, 3), (12, 1), (10, 5)], METAL)    # barbs
    c.polygon([(8, 13), (12, 15), (10, 11)], METAL)
    c.outline(OUTLINE)
    c.put(8, 7, METAL_L)
    c.put(13, 8, TEAL_GLOW)
    return c


def chain():
    from palette import METAL, METAL_L
    c = Canvas(8, 8)
    c.ring(4, 4, 1.5, 3.4, METAL)
    c.outline(OUTLINE)
    c.put(2, 2, METAL_L)
    return c


# --- contact sheet -------------------------------------------------------------------------------
def contact_sheet(made):
    """Every sprite on one image, over a checker so transparent parts show."""
    width, pad = 1000, 6
    placed, x, y, row_h = [], pad, pad, 0
    for name, img in made:
        scale = 2 if img.w * img.h <= 256 * 128 else 1
        w, h = img.w * scale, img.h * scale
        if x + w + pad > width:
            x, y, row_h = pad, y + row_h + pad, 0
        placed.append((img, scale, x, y))
        x += w + pad
        row_h = max(row_h, h)
    out = Canvas(width, y + row_h + pad, NIGHT_2)
    for img, scale, px, py in placed:
        w, h = img.w * scale, img.h * scale
        for yy in range(h):
            for xx in range(w):
                check = ((xx // 8) + (yy // 8)) % 2
                out.put(px + xx, py + yy, (58, 62, 88) if check else (48, 52, 76))
        out.blit(img.scaled(scale) if scale > 1 else img, px, py)
    return out


def main(argv):
    filters = argv[1:]
    base = os.path.join(ROOT, "Resources", "Sprites")
    made = []
    for rel, draw, size in ASSETS:
        if filters and not any(f.lower() in rel.lower() for f in filters):
            continue
        img = draw()
        if (img.w, img.h) != size:
            print("Error: %s is %dx%d, expected %dx%d" % (rel, img.w, img.h, size[0], size[1]))
            return 1
        path = os.path.join(base, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        img.save(path)
        made.append((rel, img))
        print("wrote", os.path.relpath(path, ROOT))
    if not filters:
        docs = os.path.join(ROOT, "docs", "images")
        os.makedirs(docs, exist_ok=True)
        contact_sheet(made).save(os.path.join(docs, "assets.png"))
        print("wrote docs/images/assets.png")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
