"""Prefabs of the player's attacks, the enemies' projectiles and the particle effects.

Each function returns the list of entities of one prefab file; the first is the root. Roots
carry a link key so the loader places them where they are instantiated.
"""
from entities import (DYNAMIC, KINEMATIC, PARTICLES, WORLD, Keys, animator, body, box, emitter, entity,
                      light, script, sprite, tags, transform)

AMBER = ((1.0, 0.75, 0.3, 1.0), (1.0, 0.95, 0.6, 1.0))
AMBER_OUT = ((1.0, 0.3, 0.05, 0.0), (1.0, 0.5, 0.1, 0.0))
TEAL = ((0.3, 1.0, 0.9, 1.0), (0.7, 1.0, 1.0, 1.0))
TEAL_OUT = ((0.1, 0.6, 0.9, 0.0), (0.2, 0.8, 1.0, 0.0))


def burst(name, count, colours, out, speed=(150, 400), life=(0.25, 0.6), scale=(1.0, 2.0),
          texture="Sprites/Particles/spark.png", gravity=False, direction=0.0, spread=360.0, glow=True,
          end_scale=(0.2, 0.5), extra=None):
    keys = Keys()
    e = entity(name, 0, layer=PARTICLES, key=keys.take())
    e["Transform"] = transform(0, 0, 1, 1, 1)
    e["Particle Emitter"] = emitter(texture, count=count, life=life, speed=speed, start_colour=colours,
                                    end_colour=out, scale=scale, end_scale=end_scale, gravity=gravity,
                                    direction=direction, spread=spread, glow=glow)
    result = [e]
    if extra:
        for x in extra:
            x["Parent ID"] = e["Current Parent ID"]
            x["Current Parent ID"] = keys.take()
            result.append(x)
    return result


def explosion_small():
    smoke = entity("ExplosionSmoke", 0, layer=PARTICLES)
    smoke["Transform"] = transform(0, 0, 0.5, 1, 1)
    smoke["Particle Emitter"] = emitter("Sprites/Particles/smoke.png", count=10, life=(0.5, 0.9), speed=(40, 140),
                                        end_speed=(0, 10), start_colour=((0.5, 0.45, 0.5, 0.8), (0.7, 0.6, 0.6, 0.9)),
                                        end_colour=((0.2, 0.2, 0.25, 0), (0.3, 0.3, 0.3, 0)), scale=(0.15, 0.25),
                                        end_scale=(0.35, 0.5), glow=False)
    flash = entity("ExplosionFlash", 0, layer=PARTICLES)
    flash["Transform"] = transform(0, 0, 0, 1, 1)
    flash["Light"] = light((1.0, 0.6, 0.25), ambient=2.0, linear=0.003, quadratic=0.00002)
    flash["Script"] = script(["Effects/Flash.orin"])
    return burst("ParticleExplosionSmall", 36, AMBER, AMBER_OUT, speed=(200, 600), life=(0.3, 0.8),
                 scale=(1.5, 3.0), extra=[smoke, flash])


def shell_piece(index):
    # Each piece flies off its own way; the script reads its launch from the root's floats.
    launches = {1: (-260, 520), 2: (-120, 680), 3: (140, 640), 4: (280, 500)}
    vx, vy = launches[index]
    e = entity("SnailShellBreak%d" % index, 0, key=1)
    e["Transform"] = transform(0, 0, 1.5, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Turret/shell_piece%d.png" % index)
    e["Rigidbody"] = body(DYNAMIC, mass=0.5, drag=0.99, friction=0.6, gravity=1.2, velocity=(vx, vy))
    e["Box Collider"] = box(0.6, 0.6)
    # One piece of the four makes the breaking sound.
    e["Script"] = script(["Effects/Debris.orin"],
                         floats={"spin": 360.0 if vx < 0 else -360.0, "noisy": 1.0 if index == 1 else 0.0})
    return [e]


def player_bullet():
    e = entity("Bullet", 0, key=1)
    e["Transform"] = transform(0, 0, 1, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Player/bullet.png", lit=False)
    e["Rigidbody"] = body(KINEMATIC, gravity=0.0, drag=1.0, friction=0.0)
    e["Box Collider"] = box(1.0, 1.0, trigger=True)
    e["Script"] = script(["Player/Bullet.orin"])
    e["Light"] = light((1.0, 0.85, 0.4), ambient=0.9, linear=0.008, quadratic=0.00005)
    trail = entity("BulletTrail", 0, layer=PARTICLES, key=2, parent=1)
    trail["Transform"] = transform(0, 0, 0, 1, 1)
    trail["Particle Emitter"] = emitter(count=30, burst=False, once=False, life=(0.1, 0.2), speed=(0, 20),
                                        end_speed=(0, 0), start_colour=AMBER, end_colour=AMBER_OUT,
                                        scale=(0.8, 1.2), end_scale=(0.1, 0.2), rate=(0.01, 0.015))
    return [e, trail]


def smash():
    e = entity("Smash", 0, key=1)
    e["Transform"] = transform(0, 0, 1.5, 3.5, 3.5)
    e["Sprite Renderer"] = sprite("Sprites/Player/smash.png", 4, 1, lit=False)
    e["Animator Component"] = animator([("Swing", 0, 3, False)], "Swing", 0.06)
    e["Box Collider"] = box(0.9, 0.9, trigger=True)
    e["Script"] = script(["Player/Smash.orin"])
    e["Light"] = light((0.6, 0.9, 1.0), ambient=1.0, linear=0.006, quadratic=0.00004)
    return [e]


def hook_chain():
    e = entity("HookChain", 0, key=1)
    e["Transform"] = transform(0, 0, 1.5, 2.5, 2.5)
    e["Sprite Renderer"] = sprite("Sprites/Player/hook.png")
    e["Rigidbody"] = body(KINEMATIC, gravity=0.0, drag=1.0, friction=0.0)
    e["Box Collider"] = box(1.0, 1.0, trigger=True)
    e["Script"] = script(["Player/HookChain.orin"])
    links = entity("HookChainLinks", 0, key=2, parent=1)
    links["Transform"] = transform(0, 0, 0, 1, 1)
    # Links left behind in place as the hook flies: a chain that reels out.
    links["Particle Emitter"] = emitter("Sprites/Player/chain.png", count=40, burst=False, once=False,
                                        life=(0.22, 0.22), speed=(0, 0), end_speed=(0, 0),
                                        start_colour=((0.8, 0.8, 0.85, 1), (0.8, 0.8, 0.85, 1)),
                                        end_colour=((0.6, 0.6, 0.7, 0.6), (0.6, 0.6, 0.7, 0.6)),
                                        scale=(2.5, 2.5), end_scale=(2.5, 2.5), rate=(0.012, 0.012), glow=False,
                                        spread=0)
    return [e, links]


def enemy_bullet():
    e = entity("EnemyBullet", 0, key=1)
    e["Transform"] = transform(0, 0, 1, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Turret/enemy_bullet.png", lit=False)
    e["Rigidbody"] = body(KINEMATIC, gravity=0.0, drag=1.0, friction=0.0)
    e["Box Collider"] = box(0.7, 0.7, trigger=True)
    e["Script"] = script(["Enemies/EnemyBullet.orin"])
    e["Light"] = light((0.3, 1.0, 0.8), ambient=0.9, linear=0.008, quadratic=0.00005)
    return [e]


def bomb():
    e = entity("Bomb", 0, key=1)
    e["Transform"] = transform(0, 0, 1, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Bomber/bomb.png")
    e["Rigidbody"] = body(DYNAMIC, gravity=0.7, drag=0.995, friction=0.0)
    e["Box Collider"] = box(0.8, 0.8, trigger=True)
    e["Script"] = script(["Enemies/Bomb.orin"])
    e["Light"] = light((1.0, 0.3, 0.2), ambient=0.7, linear=0.01, quadratic=0.00008)
    return [e]


def target():
    e = entity("Target", 0, key=1)
    e["Transform"] = transform(0, 0, 0.8, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Bomber/target.png", opacity=0.0, lit=False)
    e["Script"] = script(["Enemies/Target.orin"])
    return [e]


def fishie():
    e = entity("FishieNew", tags("Enemy"), key=1)
    e["Transform"] = transform(0, 0, 1.2, 3.0, 3.0)
    e["Sprite Renderer"] = sprite("Sprites/Fishie/fishie.png", 4, 1)
    e["Rigidbody"] = body(DYNAMIC, mass=1.0, drag=0.99, friction=0.4, gravity=1.2)
    e["Box Collider"] = box(0.8, 0.8, 0, -4)
    e["Animator Component"] = animator([("Hop", 0, 3, True)], "Hop", 0.1)
    e["Script"] = script(["Enemies/Fishie.orin"], floats={"life": 2.0})
    return [e]


def melee_collider(side):
    # The melee enemy's reach on one side, kept as a template for a grunt's first child.
    e = entity("MeleeCollider%s" % side, 0, key=1)
    e["Transform"] = transform(0, 0, 0, 130, 80)
    e["Box Collider"] = box(1.0, 1.0, -0.45 * 130 if side == "Left" else 0.45 * 130, 0, trigger=True)
    e["Script"] = script(["Enemies/TriggerArea.orin"])
    return [e]


def all_prefabs():
    """Path under Resources/Prefabs -> entity list."""
    out = {
        "Bullet.prefab": player_bullet(),
        "Smash.prefab": smash(),
        "HookChain.prefab": hook_chain(),
        "EnemyBullet.prefab": enemy_bullet(),
        "Bomb.prefab": bomb(),
        "Target.prefab": target(),
        "FishieNew.prefab": fishie(),
        "MeleeColliderLeft.prefab": melee_collider("Left"),
        "MeleeColliderRight.prefab": melee_collider("Right"),
        "ParticleExplosionSmall.prefab": explosion_small(),
        "SnailSparks.prefab": burst("SnailSparks", 24, TEAL, TEAL_OUT, speed=(250, 550), life=(0.2, 0.5),
                                    scale=(1.0, 2.0)),
        "Effects/MuzzleFlash.prefab": burst("MuzzleFlash", 8, AMBER, AMBER_OUT, speed=(80, 220),
                                            life=(0.06, 0.14), scale=(1.2, 2.0), spread=70),
        "Effects/BulletHit.prefab": burst("BulletHit", 12, AMBER, AMBER_OUT, speed=(120, 380),
                                          life=(0.12, 0.3), scale=(0.8, 1.6)),
        "Effects/HitSparks.prefab": burst("HitSparks", 16, ((1, 0.3, 0.3, 1), (1, 0.7, 0.5, 1)),
                                          ((1, 0.1, 0.1, 0), (1, 0.2, 0.1, 0)), speed=(150, 400),
                                          life=(0.2, 0.45), scale=(1.0, 2.0)),
        "Effects/Dust.prefab": burst("Dust", 8, ((0.7, 0.7, 0.75, 0.7), (0.85, 0.85, 0.9, 0.8)),
                                     ((0.6, 0.6, 0.7, 0), (0.6, 0.6, 0.7, 0)), speed=(40, 120),
                                     life=(0.25, 0.45), scale=(0.12, 0.2), end_scale=(0.25, 0.35),
                                     texture="Sprites/Particles/smoke.png", direction=90, spread=160, glow=False),
        "Effects/Sparkle.prefab": burst("Sparkle", 16, TEAL, TEAL_OUT, speed=(80, 260), life=(0.3, 0.6),
                                        scale=(0.8, 1.6)),
        "Effects/Heal.prefab": burst("Heal", 16, ((1, 0.4, 0.45, 1), (1, 0.7, 0.7, 1)),
                                     ((1, 0.3, 0.4, 0), (1, 0.5, 0.5, 0)), speed=(60, 200), life=(0.4, 0.8),
                                     scale=(1.0, 1.8), direction=90, spread=90),
        "Effects/CrateBreak.prefab": burst("CrateBreak", 14, ((0.75, 0.55, 0.35, 1), (0.9, 0.7, 0.45, 1)),
                                           ((0.5, 0.35, 0.2, 0), (0.6, 0.4, 0.25, 0)), speed=(200, 500),
                                           life=(0.4, 0.8), scale=(1.5, 2.5), end_scale=(1.0, 1.5),
                                           texture="Sprites/Particles/shard.png", gravity=True, glow=False),
        "Effects/SmashWave.prefab": burst("SmashWave", 18, ((0.6, 0.9, 1, 1), (0.9, 1, 1, 1)),
                                          ((0.3, 0.6, 1, 0), (0.4, 0.7, 1, 0)), speed=(250, 500),
                                          life=(0.12, 0.25), scale=(1.0, 1.8), spread=120),
    }
    for i in range(1, 5):
        out["SnailShellBreak%d.prefab" % i] = shell_piece(i)
    return out
