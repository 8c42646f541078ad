"""Entity builders shared by the level and prefab generator.

Every function returns plain dicts in the scene-file form (one JSON object per entity); the
generator writes them out as one-line JSON arrays. Sizes are world units: a sprite is its
texture's cell size times its scale, and the camera shows 1920 x 1080 units at zoom 1.
"""

# Tag order is shared by every level: prefabs carry tag bit masks, not names, so all scenes
# that instantiate them must register the same tags in the same order.
TAGS = ["Player", "Enemy", "Wall", "Interactable", "Pickup"]
TAG_BITS = {name: 1 << (i + 1) for i, name in enumerate(TAGS)}

WORLD = 2      # layer of the level, its actors and their colliders
PARTICLES = 3  # layer of particle bursts drawn over the actors
FAR_BACK = 0
NEAR_BACK = 1


def tags(*names):
    mask = 0
    for n in names:
        mask |= TAG_BITS[n]
    return mask


def vec(x=0.0, y=0.0, z=0.0, w=0.0):
    return {"X": x, "Y": y, "Z": z, "W": w}


def colour(r, g, b, a=1.0):
    return {"R": r, "G": g, "B": b, "A": a}


def tex(path):
    return "Resources\\" + path.replace("/", "\\")


def script_path(name):
    return "Resources\\Scripts\\" + name.replace("/", "\\")


class Keys:
    """Hands out the link keys ("Current Parent ID") of one file."""

    def __init__(self, start=1):
        self.next = start

    def take(self):
        key = self.next
        self.next += 1
        return key


def entity(name, tag_mask=0, layer=WORLD, room=0, active=True, key=None, parent=None):
    e = {"ID": name, "ID Type": tag_mask, "Layer": layer, "Room": room, "GameObject Active": active}
    if key is not None:
        e["Current Parent ID"] = key
        if parent is not None:
            e["Parent ID"] = parent
    return e


def transform(x, y, z=0.0, sx=1.0, sy=1.0, flip=False, angle=(0.0, 0.0, 0.0)):
    return {"Enabled": True, "Position": vec(x, y, z), "Angle": vec(*angle),
            "Scale": vec(sx, sy, 1.0), "Flip X": flip, "Flip Y": False}


def sprite(path, cols=1, rows=1, tint=(1, 1, 1, 1), opacity=1.0, lit=True):
    s = {"Enabled": True, "Texture": tex(path), "Tint": colour(*tint), "Opacity": opacity,
         "Receive Light": lit}
    if cols != 1 or rows != 1:
        s["Mesh"] = {"Mesh": "sheet%dx%d" % (cols, rows), "Mesh X": cols, "Mesh Y": rows}
    return s


def animator(anims, current, seconds=0.1):
    """anims: list of (name, start, end, looping)."""
    lst = {}
    for i, (name, start, end, loop) in enumerate(anims):
        lst["Animation List %d" % i] = {"Name": name, "Start Frame": start, "End Frame": end,
                                        "Looping": loop}
    return {"Enabled": True, "Animation List": lst, "Seconds Per Frame": seconds,
            "Current Animation": current}


DYNAMIC, KINEMATIC, STATIC = 0, 1, 2


def body(mode=DYNAMIC, mass=1.0, drag=0.99, friction=0.5, gravity=1.0, velocity=(0, 0)):
    return {"Enabled": True, "Rigidbody Mode": mode, "Rotational": False, "Mass": mass, "Drag": drag,
            "Friction": friction, "Bounciness": 0.0, "Gravity Scale": gravity,
            "Velocity": vec(velocity[0], velocity[1])}


def box(sx=1.0, sy=1.0, ox=0.0, oy=0.0, trigger=False):
    return {"Enabled": True, "Scale X": sx, "Scale Y": sy, "Offset": vec(ox, oy), "Is Trigger": trigger,
            "Accuracy": False}


def script(files, floats=None, bools=None, strings=None):
    s = {"Enabled": True, "File Path": {"File Path %d" % i: script_path(f) for i, f in enumerate(files)}}
    if floats:
        s["Float List"] = floats
    if bools:
        s["Bool List"] = bools
    if strings:
        s["String List"] = strings
    return s


def light(rgb, ambient=1.0, linear=0.004, quadratic=0.00002):
    return {"Enabled": True, "Is Global": False, "Light Color": colour(*rgb), "Ambient": ambient,
            "Constant": 1.0, "Linear": linear, "Quadratic": quadratic}


def emitter(texture="Sprites/Particles/spark.png", count=20, burst=True, once=True, life=(0.3, 0.7),
            speed=(150, 400), end_speed=(0, 40), start_colour=((1, 1, 1, 1), (1, 1, 1, 1)),
            end_colour=((1, 1, 1, 0), (1, 1, 1, 0)), scale=(1.0, 2.0), end_scale=(0.2, 0.5),
            direction=0.0, spread=360.0, gravity=False, gravity_scale=1.0, rate=(0.05, 0.05),
            glow=True, offset=(0.0, 0.0), rotate=False):
    """A particle emitter; with burst and once it removes its entity when its particles are gone."""
    return {"Enabled": True, "Particle Texture": tex(texture), "Destroy on Death": once and burst,
            "Burst": burst, "Burst Count": 1, "Glow": glow, "Rotate To Direction": rotate,
            "Has Gravity": gravity, "Emit From Edge": False, "X Offset": offset[0], "Y Offset": offset[1],
            "Gravity Scale": gravity_scale, "Count": count,
            "Start Color": {"Min": colour(*start_colour[0]), "Max": colour(*start_colour[1])},
            "End Color": {"Min": colour(*end_colour[0]), "Max": colour(*end_colour[1])},
            "Start Speed": {"Min": speed[0], "Max": speed[1]},
            "End Speed": {"Min": end_speed[0], "Max": end_speed[1]},
            "Start Scale": {"Min": vec(scale[0], scale[0], 1), "Max": vec(scale[1], scale[1], 1)},
            "End Scale": {"Min": vec(end_scale[0], end_scale[0], 1), "Max": vec(end_scale[1], end_scale[1], 1)},
            "Emission Rate Range": {"Min": rate[0], "Max": rate[1]},
            "Life": {"Min": life[0], "Max": life[1]}, "Direction": direction, "Spread": spread}


# ---------------------------------------------------------------------------------------------
# Actors

PLAYER_SCALE = 3.0  # 32 x 32 cells -> 96 units


def player(x, y, keys, fall_limit=-900.0):
    key = keys.take()
    e = entity("Player", tags("Player"), key=key)
    e["Transform"] = transform(x, y, 2.0, PLAYER_SCALE, PLAYER_SCALE)
    e["Sprite Renderer"] = sprite("Sprites/Player/player.png", 8, 4)
    # Friction 0 and no drag: the script sets the run speed itself every step.
    e["Rigidbody"] = body(DYNAMIC, mass=1.0, drag=1.0, friction=0.0, gravity=1.6)
    e["Box Collider"] = box(0.42, 0.86, 0.0, -6.7)
    e["Animator Component"] = animator(
        [("Idle", 0, 3, True), ("Run", 8, 13, True), ("Jump", 16, 16, True), ("Fall", 17, 17, True),
         ("Hurt", 18, 18, True), ("Smash", 24, 27, False), ("Shoot", 28, 29, False)], "Idle", 0.09)
    e["Script"] = script(["Player/Player.orin"],
                         floats={"PlayerHealth": 100.0, "PlayerArmour": 0.0, "FallLimit": fall_limit,
                                 "LevelGems": 0.0, "PendingDamage": 0.0})
    e["Light"] = light((0.55, 0.8, 1.0), ambient=0.35, linear=0.006, quadratic=0.00004)
    return [e]


GRUNT_SCALE = 3.0


def grunt(name, x, y, keys, room=0, flip=False):
    """Patrolling melee enemy; its first child is the claw's reach, switched on while it attacks."""
    key = keys.take()
    e = entity(name, tags("Enemy"), room=room, key=key)
    e["Transform"] = transform(x, y, 1.0, GRUNT_SCALE, GRUNT_SCALE, flip=flip)
    e["Sprite Renderer"] = sprite("Sprites/Grunt1/grunt_idle.dds", 4, 1)
    e["Rigidbody"] = body(DYNAMIC, mass=1.0, drag=0.99, friction=0.5, gravity=1.0)
    e["Box Collider"] = box(0.5, 0.9, 0.0, -4.8)
    # The strike lands on frame 15, so the attack counts 12-15 on the four-cell sheet.
    e["Animator Component"] = animator(
        [("Idle", 0, 3, True), ("Walk", 0, 3, True), ("Attack", 12, 15, True), ("Death", 0, 3, False)],
        "Idle", 0.16)
    e["Behaviour"] = {"Enabled": True, "Type": 0}
    claw = entity(name + "Claw", 0, room=room, active=False, key=keys.take(), parent=key)
    # What the swing visibly covers: from the grunt's centre to 48 units ahead, from its feet to
    # its chest. The behaviour moves the box to the side the grunt faces.
    claw["Transform"] = transform(0, 0, 0, 48, 60)
    claw["Box Collider"] = box(1.0, 1.0, 24, -15, trigger=True)
    claw["Script"] = script(["Enemies/TriggerArea.orin"])
    return [e, claw]


def turret(name, x, y, keys, room=0):
    """Armoured snail turret: bullets wear it down, the hook chain breaks its shell."""
    key = keys.take()
    e = entity(name, tags("Enemy"), room=room, key=key)
    # The turret's behaviour takes a clear flipX as looking to -x, the other way round from the
    # walkers; its sprite is shown turned about y so that it faces the way the behaviour means.
    e["Transform"] = transform(x, y, 1.0, 3.5, 3.5, angle=(0.0, 180.0, 0.0))
    e["Sprite Renderer"] = sprite("Sprites/Turret/turret_shell.png", 4, 1)
    e["Rigidbody"] = body(DYNAMIC, mass=20.0, drag=0.9, friction=1.0, gravity=1.0)
    e["Box Collider"] = box(0.7, 0.8, 0.0, -11.2)
    e["Animator Component"] = animator([("Idle", 0, 3, True)], "Idle", 0.18)
    e["Behaviour"] = {"Enabled": True, "Type": 1}
    eye = entity(name + "Glow", 0, room=room, key=keys.take(), parent=key)
    eye["Transform"] = transform(0, 4, 0, 1, 1)
    eye["Light"] = light((0.2, 0.9, 0.8), ambient=0.6, linear=0.008, quadratic=0.00006)
    return [e, eye]


def bomber(name, x, y, keys, room=0):
    """Flying bomber: drifts along x, glides down, drops a bomb and a ground marker, climbs."""
    e = entity(name, tags("Enemy"), room=room, key=keys.take())
    e["Transform"] = transform(x, y, 1.0, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Bomber/grunt_bomber_fly.dds", 4, 1)
    # Weightless, with strong drag: the tree's small pushes give a slow, steady drift of about
    # 60 units a second. A heavier body would gain less than 1 unit/s a step, which the physics
    # rounds to rest.
    e["Rigidbody"] = body(DYNAMIC, mass=1.0, drag=0.95, friction=0.0, gravity=0.0)
    e["Box Collider"] = box(0.7, 0.6, trigger=True)
    e["Animator Component"] = animator([("Fly", 0, 3, True)], "Fly", 0.08)
    e["Script"] = script(["Enemies/TriggerArea.orin"])
    e["Behaviour"] = {"Enabled": True, "Type": 2}
    e["Light"] = light((1.0, 0.45, 0.25), ambient=0.5, linear=0.008, quadratic=0.00006)
    return [e]


def spawner(name, x, y, keys, room=0, area=(1500, 700)):
    """Nest that releases a fishie every five seconds while the player is inside its area."""
    key = keys.take()
    e = entity(name, tags("Enemy"), room=room, key=key)
    e["Transform"] = transform(x, y, 0.5, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Fishie/spawner.png", 2, 1)
    e["Box Collider"] = box(0.8, 0.8, trigger=True)
    e["Animator Component"] = animator([("Pulse", 0, 1, True)], "Pulse", 0.4)
    e["Script"] = script(["Enemies/Spawner.orin"], floats={"life": 8.0})
    e["Behaviour"] = {"Enabled": True, "Type": 3}
    e["Light"] = light((0.9, 0.4, 1.0), ambient=0.8, linear=0.005, quadratic=0.00003)
    zone = entity(name + "Area", 0, room=room, key=keys.take(), parent=key)
    zone["Transform"] = transform(0, 0, 0, area[0], area[1])
    zone["Box Collider"] = box(1.0, 1.0, trigger=True)
    zone["Script"] = script(["Enemies/TriggerArea.orin"])
    return [e, zone]


# ---------------------------------------------------------------------------------------------
# Level pieces

def solid(name, x, y, w, h, keys=None, tag="Wall"):
    """An invisible collider: floors are one long box so nothing snags on seams between tiles."""
    e = entity(name, tags(tag))
    e["Transform"] = transform(x, y, 0, w, h)
    e["Box Collider"] = box()
    return e


def decor(name, path, x, y, sx, sy, z=0.0, layer=WORLD, tint=(1, 1, 1, 1), lit=True, cols=1, rows=1):
    e = entity(name, 0, layer=layer)
    e["Transform"] = transform(x, y, z, sx, sy)
    e["Sprite Renderer"] = sprite(path, cols, rows, tint=tint, lit=lit)
    return e


def floor(name, x0, x1, top, depth=600):
    """Ground from x0 to x1 with its surface at y = top: tiles for the eye, one box for physics."""
    out = [solid(name, (x0 + x1) / 2, top - depth / 2, x1 - x0, depth)]
    tile_w, tile_h = 256 * 2, 64 * 2
    n = max(1, round((x1 - x0) / tile_w))
    w = (x1 - x0) / n
    for i in range(n):
        cx = x0 + w * (i + 0.5)
        out.append(decor("%sTile%d" % (name, i), "Sprites/Tiles/ground.png", cx, top - tile_h / 2,
                         w / 256, 2.0, z=0.2))
    # Deep earth under the tiles, down past anything the camera shows.
    out.append(decor(name + "Earth", "Sprites/basicSprite.dds", (x0 + x1) / 2, top - tile_h - 240 + 8,
                     (x1 - x0) / 32, 496 / 32, z=0.1, tint=(0.2, 0.14, 0.13, 1)))
    return out


def platform(name, x, top, width=256):
    sy = 2.0
    e = entity(name, tags("Wall"))
    e["Transform"] = transform(x, top - 32, 0.2, width / 128, sy)
    e["Sprite Renderer"] = sprite("Sprites/Tiles/platform.png")
    e["Box Collider"] = box(1.0, 1.0)
    return [e]


def wall(name, x, bottom, height=512):
    e = entity(name, tags("Wall"))
    e["Transform"] = transform(x, bottom + height / 2, 0.2, 1.5, height / 256)
    e["Sprite Renderer"] = sprite("Sprites/Tiles/wall.png")
    e["Box Collider"] = box(1.0, 1.0)
    return [e]


def crate(name, x, bottom, keys, room=0):
    """Smashable crate: solid for walkers, breaks under a smash and may hold a gem."""
    e = entity(name, tags("Interactable"), room=room, key=keys.take())
    e["Transform"] = transform(x, bottom + 48, 0.3, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Tiles/crate.png")
    # Kinematic without gravity: immovable, yet a body, so smashes and bullets can touch it.
    e["Rigidbody"] = body(KINEMATIC, gravity=0.0, friction=0.0)
    e["Box Collider"] = box(1.0, 1.0)
    e["Script"] = script(["Items/Crate.orin"])
    return [e]


def spikes(name, x, bottom, width=128):
    e = entity(name, 0)
    e["Transform"] = transform(x, bottom + 16, 0.3, width / 64, 2.0)
    e["Sprite Renderer"] = sprite("Sprites/Tiles/spikes.png")
    e["Box Collider"] = box(0.9, 0.6, 0, -3, trigger=True)
    e["Script"] = script(["Items/Spikes.orin"])
    return [e]


def pickup(kind, name, x, y):
    """kind: gem, heart or armour."""
    e = entity(name, tags("Pickup"))
    if kind == "gem":
        e["Transform"] = transform(x, y, 0.5, 2.5, 2.5)
        e["Sprite Renderer"] = sprite("Sprites/Items/gem.png", 6, 1)
        e["Animator Component"] = animator([("Spin", 0, 5, True)], "Spin", 0.1)
        e["Light"] = light((0.3, 1.0, 0.85), ambient=0.45, linear=0.01, quadratic=0.0001)
    else:
        e["Transform"] = transform(x, y, 0.5, 3.0, 3.0)
        e["Sprite Renderer"] = sprite("Sprites/Items/%s.png" % kind)
        e["Light"] = light((1.0, 0.4, 0.4) if kind == "heart" else (0.5, 0.7, 1.0), ambient=0.5,
                           linear=0.01, quadratic=0.0001)
    e["Box Collider"] = box(1.0, 1.0, trigger=True)
    e["Script"] = script(["Items/%s.orin" % kind.capitalize(), "Items/Bob.orin"])
    return [e]


def exit_door(x, bottom, level, keys):
    e = entity("LevelExit", 0, key=keys.take())
    e["Transform"] = transform(x, bottom + 72, 0.4, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Items/exit_door.png", 4, 1)
    e["Animator Component"] = animator([("Glow", 0, 3, True)], "Glow", 0.12)
    # The portal's reach goes far above the door, so a running jump cannot carry the player over
    # it: from the floor to 860 units up.
    e["Box Collider"] = box(0.6, 6.0, 0, 360, trigger=True)
    e["Script"] = script(["Level/LevelExit.orin"], floats={"level": float(level)})
    e["Light"] = light((0.3, 1.0, 0.9), ambient=1.4, linear=0.003, quadratic=0.00001)
    glow = entity("LevelExitMotes", 0, layer=PARTICLES, key=keys.take(), parent=e["Current Parent ID"])
    glow["Transform"] = transform(0, 0, 0, 1, 1)
    glow["Particle Emitter"] = emitter(count=30, burst=False, once=False, life=(0.8, 1.6), speed=(20, 60),
                                       end_speed=(0, 10), direction=90, spread=60, offset=(60, 100),
                                       start_colour=((0.3, 1, 0.9, 0.9), (0.7, 1, 1, 1)),
                                       end_colour=((0.3, 1, 0.9, 0), (0.3, 1, 0.9, 0)),
                                       scale=(0.8, 1.5), end_scale=(0.2, 0.4), rate=(0.06, 0.12))
    return [e, glow]


def lamp(name, x, bottom, rgb=(1.0, 0.7, 0.35)):
    """A lantern post: a warm point light over the path."""
    post = decor(name + "Post", "Sprites/Tiles/wall.png", x, bottom + 90, 0.12, 0.7, z=0.05,
                 tint=(0.3, 0.28, 0.32, 1))
    head = entity(name, 0)
    head["Transform"] = transform(x, bottom + 190, 0.1, 3.5, 3.5)
    head["Sprite Renderer"] = sprite("Sprites/Particles/spark.png", tint=(rgb[0], rgb[1], rgb[2], 1), lit=False)
    head["Light"] = light(rgb, ambient=1.2, linear=0.004, quadratic=0.00002)
    motes = entity(name + "Motes", 0, layer=PARTICLES)
    motes["Transform"] = transform(x, bottom + 190, 0, 1, 1)
    motes["Particle Emitter"] = emitter(count=12, burst=False, once=False, life=(1.0, 2.0), speed=(10, 30),
                                        end_speed=(0, 5), direction=90, spread=120, offset=(40, 20),
                                        start_colour=((rgb[0], rgb[1], rgb[2], 0.8), (1, 0.9, 0.6, 0.9)),
                                        end_colour=((rgb[0], rgb[1], rgb[2], 0), (rgb[0], rgb[1], rgb[2], 0)),
                                        scale=(0.4, 0.8), end_scale=(0.1, 0.2), rate=(0.25, 0.5))
    return [post, head, motes]


def checkpoint(name, x, bottom, keys):
    """A checkpoint lantern: dark until the player touches it; then its flame (the first child,
    switched on by Level/Checkpoint.orin) burns and a retry starts here. The lantern itself is
    a trigger from the ground to above a jump, so running past it is enough."""
    post = decor(name + "Post", "Sprites/Tiles/wall.png", x, bottom + 90, 0.12, 0.7, z=0.05,
                 tint=(0.3, 0.28, 0.32, 1))
    cold = decor(name + "Cold", "Sprites/Particles/spark.png", x, bottom + 190, 2.0, 2.0, z=0.1,
                 tint=(0.35, 0.35, 0.45, 1), lit=False)
    key = keys.take()
    e = entity(name, 0, key=key)
    e["Transform"] = transform(x, bottom + 150, 0, 1, 1)
    e["Box Collider"] = box(80, 300, trigger=True)
    e["Script"] = script(["Level/Checkpoint.orin"])
    flame = entity(name + "Flame", 0, active=False, key=keys.take(), parent=key)
    flame["Transform"] = transform(0, 40, 0.1, 3.5, 3.5)
    flame["Sprite Renderer"] = sprite("Sprites/Particles/spark.png", tint=(1.0, 0.8, 0.4, 1), lit=False)
    flame["Light"] = light((1.0, 0.75, 0.4), ambient=1.3, linear=0.004, quadratic=0.00002)
    return [post, cold, e, flame]


def hint(name, text, x1, x2, y=330):
    """Screen text shown while the player's x lies between x1 and x2."""
    e = entity(name, 0)
    e["Transform"] = transform(-len(text) * 14.0, y, 0, 0.9, 0.9)
    e["UI Text"] = {"Enabled": True, "Text": "", "Font": "Resources\\Fonts\\FiraCode-Regular.ttf",
                    "Color": colour(0.95, 0.9, 0.75, 1)}
    e["Script"] = script(["Level/Hint.orin"], floats={"x1": x1, "x2": x2}, strings={"message": text})
    return [e]


def backgrounds(level_start, level_end, view_w, cam_y):
    """Sky fixed to the camera; mountains and trees scroll slower than the world."""
    out = []
    sky = entity("Sky", 0, layer=FAR_BACK)
    sky["Transform"] = transform(0, cam_y, 0, 4.4, 4.4)
    sky["Sprite Renderer"] = sprite("Sprites/Backgrounds/sky.png", lit=False)
    sky["Script"] = script(["Level/Parallax.orin"], floats={"factor": 1.0, "baseX": 0.0, "baseY": 0.0})
    out.append(sky)
    for layer_name, path, layer, factor, scale, base_y in (
            ("Mountains", "Sprites/Backgrounds/mountains.png", FAR_BACK, 0.85, 2.0, -60.0),
            ("Trees", "Sprites/Backgrounds/trees.png", NEAR_BACK, 0.6, 2.0, -140.0)):
        width = 960 * scale
        # The layer's copies must cover every view: the layer moves by (1 - factor) of the
        # camera's travel relative to the view.
        travel = (level_end - level_start) * (1 - factor)
        first = level_start * (1 - factor) - width
        count = int((travel + view_w + 2 * width) / width) + 1
        for i in range(count):
            e = entity("%s%d" % (layer_name, i), 0, layer=layer)
            bx = first + i * width
            e["Transform"] = transform(bx, base_y, 0.5, scale, scale)
            e["Sprite Renderer"] = sprite(path, lit=False,
                                          tint=(0.8, 0.85, 1.0, 1) if layer == FAR_BACK else (1, 1, 1, 1))
            e["Script"] = script(["Level/Parallax.orin"],
                                 floats={"factor": factor, "baseX": bx, "baseY": base_y})
            out.append(e)
    return out


def camera(x, y, zoom, limits, rooms):
    """limits: (minX, maxX, minY, maxY) of the camera centre; rooms: x where rooms 2, 3, ... start."""
    e = entity("Main Camera", 0)
    e["Transform"] = transform(x, y, 0, 1, 1)
    e["Camera"] = {"Enabled": True, "Zoom": zoom, "Start Zoom": zoom, "Start Position": vec(x, y, 0)}
    floats = {"minX": limits[0], "maxX": limits[1], "minY": limits[2], "maxY": limits[3], "zoom": zoom}
    for i, start in enumerate(rooms):
        floats["room%dStart" % (i + 2)] = start
    # Unused room starts lie past any level so the camera's room checks stay simple.
    for i in range(len(rooms), 3):
        floats["room%dStart" % (i + 2)] = 1.0e9
    e["Script"] = script(["Level/MainCamera.orin"], floats=floats)
    return [e]


def director(level):
    e = entity("LevelDirector", 0)
    e["Transform"] = transform(0, 0, 0)
    e["Script"] = script(["Level/LevelDirector.orin"], floats={"level": float(level)},
                         strings={"music": "Resources\\Audio\\Music\\level%d.ogg" % level})
    ui = entity("LevelUI", 0)
    ui["Transform"] = transform(0, 0, 0)
    ui["Script"] = script(["Level/LevelUI.orin"])
    return [e, ui]
