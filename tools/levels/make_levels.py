#!/usr/bin/env python3
"""Writes Resources/Scenes/Level1-3.scene and the gameplay prefabs from the layouts below.

Run from anywhere: python3 tools/levels/make_levels.py. Scene files are one header line of tags
and one line of JSON; prefab files are one line of JSON.

Layout units: x grows to the right, a floor's surface height is "top"; an actor standing on a
surface at height t has its centre at t + 50 (96-unit sprites whose feet sit 48 below centre).
"""
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import entities as E  # noqa: E402
import prefabs  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ZOOM = 0.8
VIEW_W, VIEW_H = 1920 * ZOOM, 1080 * ZOOM
STAND = 50  # centre height of a 96-unit actor above the surface it stands on
SOUNDS = ["shoot", "jump", "land", "smash", "hook", "hit", "player_hurt", "pickup", "heal", "shell_break",
          "exit", "game_over", "Explosion_CTE01_56.1", "HORROR_GEN-HDF-14514"]


class Level:
    def __init__(self, number, start_x, end_x, player_x, rooms, fall_limit=-900.0, max_cam_y=700.0):
        self.number = number
        self.keys = E.Keys(100)
        self.items = []
        self.count = {}
        self.start_x, self.end_x = start_x, end_x
        self.rooms = rooms
        cam_y = 260.0
        self.items += E.camera(player_x, cam_y, ZOOM,
                               (start_x + VIEW_W / 2, end_x - VIEW_W / 2, cam_y, max_cam_y), rooms)
        self.items += E.director(number)
        self.items += E.backgrounds(start_x, end_x, VIEW_W, cam_y)
        self.items += E.player(player_x, STAND + 10, self.keys, fall_limit)
        # Walls at both ends keep the player inside the level.
        self.items += E.wall("LeftEdge", start_x + 48, -200, 1400)
        self.items += E.wall("RightEdge", end_x - 48, -200, 1400)

    def name(self, kind):
        self.count[kind] = self.count.get(kind, 0) + 1
        return "%s%d" % (kind, self.count[kind])

    def room_at(self, x):
        room = 1
        for start in self.rooms:
            if x >= start:
                room += 1
        return room

    def floor(self, x0, x1, top):
        self.items += E.floor(self.name("Floor"), x0, x1, top)

    def platform(self, x, top, width=256):
        self.items += E.platform(self.name("Platform"), x, top, width)

    def wall(self, x, bottom, height=512):
        self.items += E.wall(self.name("Wall"), x, bottom, height)

    def crate(self, x, bottom):
        self.items += E.crate(self.name("Crate"), x, bottom, self.keys)

    def spikes(self, x, bottom, width=128):
        self.items += E.spikes(self.name("Spikes"), x, bottom, width)

    def gem(self, x, y):
        self.items += E.pickup("gem", self.name("Gem"), x, y)

    def gems(self, x0, y, n, step=70):
        for i in range(n):
            self.gem(x0 + i * step, y)

    def heart(self, x, y):
        self.items += E.pickup("heart", self.name("Heart"), x, y)

    def armour(self, x, y):
        self.items += E.pickup("armour", self.name("Armour"), x, y)

    def lamp(self, x, bottom, rgb=(1.0, 0.7, 0.35)):
        self.items += E.lamp(self.name("Lamp"), x, bottom, rgb)

    def checkpoint(self, x, bottom):
        self.items += E.checkpoint(self.name("Checkpoint"), x, bottom, self.keys)

    def hint(self, text, x1, x2):
        self.items += E.hint(self.name("Hint"), text, x1, x2)

    def grunt(self, x, top, name=None, flip=False):
        numbered = self.name("Grunt")  # counted even when named, so no two grunts share a name
        self.items += E.grunt(name or numbered, x, top + STAND, self.keys, self.room_at(x), flip)

    def turret(self, x, top):
        self.items += E.turret(self.name("Turret"), x, top + 60, self.keys, self.room_at(x))

    def bomber(self, x, y):
        self.items += E.bomber(self.name("Bomber"), x, y, self.keys, self.room_at(x))

    def spawner(self, x, top, area=(1500, 700)):
        self.items += E.spawner(self.name("Spawner"), x, top + 74, self.keys, self.room_at(x), area)

    def exit(self, x, top):
        self.items += E.exit_door(x, top, self.number, self.keys)

    def write(self):
        path = os.path.join(ROOT, "Resources", "Scenes", "Level%d.scene" % self.number)
        # Sounds are loaded with the scene, so the first shot or jump does not wait on a file.
        sounds = ["Music\\level%d.ogg" % self.number] + ["SFX\\%s.ogg" % n for n in SOUNDS]
        audio = "Audio:" + "".join("Resources\\Audio\\%s," % n for n in sounds)
        write_lines(path, ["Tags:" + "".join(t + "," for t in E.TAGS), audio, json_line(self.items)])
        return path


def json_line(items):
    return json.dumps(items, separators=(",", ":"))


def write_lines(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------------------------------------
# Level 1: the moonlit path. Running, jumping and shooting, against melee grunts only.

def level1():
    L = Level(1, -300, 7600, 150, rooms=[2150, 4750])
    L.hint("Arrows or A/D: run. Space, W or Up: jump.", -300, 650)
    L.floor(-300, 1900, 0)
    L.lamp(450, 0)
    L.gems(620, 190, 3)
    # The first grunt walks in plain sight of the start: three shots bring it down.
    L.hint("X or J: shoot. Three shots fell a grunt.", 650, 1500)
    L.grunt(1150, 0, name="Grunt1")
    L.hint("Jump the gaps: a fall is fatal.", 1500, 2150)
    L.floor(2150, 3450, 0)
    L.lamp(2300, 0, (0.4, 0.9, 1.0))
    L.checkpoint(2450, 0)
    L.hint("Pass a lantern: a retry starts there.", 2300, 3000)
    L.platform(2700, 210)
    L.gems(2640, 300, 3, 60)
    L.grunt(3100, 0)
    L.floor(3450, 4650, 170)
    L.heart(3520, 380)
    L.grunt(3900, 170)
    L.grunt(4400, 170, flip=True)
    L.gems(4000, 420, 3, 60)
    L.platform(4150, 360, 200)
    L.lamp(4550, 170)
    L.floor(4950, 6150, 0)
    L.checkpoint(5050, 0)
    L.hint("Spikes hurt. Jump over them.", 4800, 5400)
    L.spikes(5300, 0, 192)
    L.platform(5650, 220)
    L.gems(5590, 310, 3, 60)
    L.grunt(5850, 0)
    L.floor(6150, 7600, 90)
    L.lamp(6500, 90, (0.4, 0.9, 1.0))
    L.grunt(6700, 90)
    L.gems(6950, 250, 4, 60)
    L.hint("Step into the portal to go on.", 7000, 7600)
    L.exit(7300, 90)
    return L


# ---------------------------------------------------------------------------------------------
# Level 2: the ruins. The smash, crates, the hook chain against turrets, and the bomber.

def level2():
    L = Level(2, -300, 8600, 150, rooms=[2650, 5250])
    L.floor(-300, 2300, 0)
    L.lamp(300, 0)
    L.hint("C or K: smash. It breaks crates.", -300, 1000)
    # A low passage blocked by a crate: only a smash opens it.
    L.wall(1200, 140, 1200)
    L.crate(1200, 0)
    L.gems(1400, 60, 3, 60)
    L.grunt(1900, 0)
    L.crate(2200, 0)
    L.crate(2200, 96)
    L.floor(2450, 4200, 0)
    L.checkpoint(2700, 0)
    L.armour(2600, 80)
    L.hint("Z or L: hook chain. It cracks turret shells.", 2400, 3500)
    L.platform(3000, 200)
    L.gems(2940, 290, 3, 60)
    L.turret(3500, 0)
    L.lamp(3300, 0, (0.4, 0.9, 1.0))
    L.crate(3750, 0)
    L.floor(4450, 6800, 0)
    L.checkpoint(4650, 0)
    L.heart(4550, 80)
    L.hint("Bombs fall on the red marks. Shoot the bomber!", 4450, 5600)
    L.bomber(5800, 500)
    L.lamp(5400, 0)
    L.gems(5600, 60, 5, 80)
    L.grunt(6200, 0)
    L.platform(6500, 220)
    L.gems(6440, 310, 3, 60)
    L.floor(7000, 8600, 120)
    L.turret(7400, 120)
    L.crate(7800, 120)
    L.lamp(8000, 120, (0.4, 0.9, 1.0))
    L.exit(8300, 120)
    return L


# ---------------------------------------------------------------------------------------------
# Level 3: the fish pits. Everything together, and nests that release hopping fishies.

def level3():
    L = Level(3, -300, 9800, 150, rooms=[2900, 6100])
    L.floor(-300, 2000, 0)
    L.lamp(350, 0, (0.8, 0.5, 1.0))
    L.hint("Nests breed fishies. Shoot or smash the nest.", -300, 900)
    L.spawner(1300, 0)
    L.gems(800, 60, 3, 60)
    L.grunt(1800, 0)
    L.floor(2250, 2900, 80)
    L.crate(2500, 80)
    L.heart(2750, 200)
    L.floor(3150, 5000, 0)
    L.checkpoint(3300, 0)
    L.platform(3500, 210)
    L.turret(4000, 0)
    L.gems(3440, 300, 3, 60)
    L.grunt(4500, 0)
    L.armour(3700, 80)
    L.bomber(4700, 520)
    L.lamp(4800, 0, (0.4, 0.9, 1.0))
    L.spikes(5150, -40, 256)
    L.floor(5000, 5300, -40)
    L.floor(5300, 6000, 0)
    L.platform(5700, 230)
    L.gems(5640, 320, 3, 60)
    L.floor(6250, 8000, 0)
    L.checkpoint(6400, 0)
    L.spawner(7000, 0)
    L.grunt(6900, 0)
    L.crate(7450, 0)
    L.heart(7600, 80)
    L.turret(7800, 0)
    L.lamp(6600, 0, (0.8, 0.5, 1.0))
    L.platform(8150, 140, 200)
    L.floor(8300, 9800, 120)
    L.grunt(8700, 120)
    L.bomber(8800, 600)
    L.gems(8950, 280, 4, 60)
    L.lamp(9100, 120)
    L.exit(9500, 120)
    return L


def write_prefabs():
    written = []
    for rel, ents in prefabs.all_prefabs().items():
        path = os.path.join(ROOT, "Resources", "Prefabs", rel)
        write_lines(path, [json_line(ents)])
        written.append(path)
    # Level pieces that scripts may also place at run time.
    k = E.Keys(1)
    for rel, ents in (("Enemies/Grunt.prefab", E.grunt("Grunt", 0, 0, k)),
                      ("Enemies/Turret.prefab", E.turret("Turret", 0, 0, E.Keys(1))),
                      ("Enemies/Bomber.prefab", E.bomber("Bomber", 0, 0, E.Keys(1))),
                      ("Enemies/Spawner.prefab", E.spawner("Spawner", 0, 0, E.Keys(1))),
                      ("Player.prefab", E.player(0, 0, E.Keys(1))),
                      ("Items/Gem.prefab", E.pickup("gem", "Gem", 0, 0)),
                      ("Items/Heart.prefab", E.pickup("heart", "Heart", 0, 0)),
                      ("Items/Armour.prefab", E.pickup("armour", "Armour", 0, 0))):
        if rel.startswith("Items/"):
            ents[0]["Current Parent ID"] = 1  # a root, placed where it is instantiated
        path = os.path.join(ROOT, "Resources", "Prefabs", rel)
        write_lines(path, [json_line(ents)])
        written.append(path)
    return written


def main():
    for p in write_prefabs():
        print("wrote", os.path.relpath(p, ROOT))
    for make in (level1, level2, level3):
        print("wrote", os.path.relpath(make().write(), ROOT))


if __name__ == "__main__":
    main()
