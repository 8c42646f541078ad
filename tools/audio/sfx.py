"""The sound effects. Each function returns raw samples; make_sounds.py fades and normalises."""
import math

from synth import *


def explosion():
    rumble = lowpass(noise(1.3, 101, steps=2), 2500, 180)
    boom = tone("sine", 90, 1.3, sweep_to=32, curve=0.5)
    crack = highpass(noise(0.08, 102), 2000)
    return mix(gain(decay(rumble, 1.25, 0.004), 0.9), gain(decay(boom, 0.9), 0.8), gain(decay(crack, 0.08), 0.5))


def enemy_growl():
    # a throaty saw with wobble, pushed through a narrow band like a mouth, falling in pitch
    voice = tone("saw", 120, 0.7, sweep_to=70, vibrato=0.06, vib_rate=23)
    rasp = noise(0.7, 103, steps=3)
    body = mix(voice, gain(rasp, 0.35))
    shaped = bandpass(body, 200, 1100)
    env = adsr(shaped, a=0.03, d=0.15, s=0.6, r=0.3)
    return soft_clip(gain(env, 2.0), 1.5)


def shoot():
    zap = tone("square", 1100, 0.16, duty=0.25, sweep_to=260, curve=0.6)
    pop = highpass(noise(0.03, 104), 3000)
    return mix(decay(lowpass(zap, 5000), 0.16), gain(decay(pop, 0.03), 0.4))


def jump():
    up = tone("square", 220, 0.2, duty=0.5, sweep_to=620, curve=0.7)
    return adsr(lowpass(up, 3500), a=0.004, d=0.06, s=0.6, r=0.08)


def land():
    thud = lowpass(noise(0.16, 105), 700)
    low = tone("sine", 130, 0.16, sweep_to=55)
    return mix(decay(thud, 0.14), gain(decay(low, 0.14), 0.8))


def smash():
    whoosh = lowpass(highpass(noise(0.25, 106), 400), 1200, 4500)
    whoosh = adsr(whoosh, a=0.15, d=0.05, s=0.8, r=0.05)
    impact_noise = lowpass(noise(0.5, 107, steps=2), 1800, 200)
    impact = mix(gain(decay(impact_noise, 0.45), 0.9), gain(decay(tone("sine", 110, 0.5, sweep_to=38), 0.45), 1.0))
    return concat(gain(whoosh, 0.5), impact)


def hook():
    whirr = tone("saw", 300, 0.35, sweep_to=900, vibrato=0.02, vib_rate=40)
    whirr = lowpass(whirr, 2500)
    clinks = silence(0.35)
    for k in range(6):
        ping = decay(tone("square", 2400 + k * 150, 0.03, duty=0.3), 0.03)
        place(clinks, ping, int(k * 0.05 * RATE), 0.35)
    return mix(adsr(whirr, a=0.01, d=0.1, s=0.5, r=0.15), clinks)


def hit():
    crunch = lowpass(noise(0.14, 108, steps=2), 3000)
    knock = tone("square", 220, 0.14, sweep_to=80, duty=0.4)
    return mix(decay(crunch, 0.1), gain(decay(lowpass(knock, 2000), 0.12), 0.6))


def player_hurt():
    cry = tone("square", 520, 0.4, duty=0.35, sweep_to=180, vibrato=0.05, vib_rate=18)
    buzz = lowpass(noise(0.4, 109, steps=4), 1500)
    return adsr(mix(lowpass(cry, 3000), gain(buzz, 0.3)), a=0.005, d=0.1, s=0.6, r=0.2)


def pickup():
    a = adsr(tone("square", note_hz("E6"), 0.07, duty=0.25), 0.002, 0.02, 0.7, 0.02)
    b = decay(tone("square", note_hz("B6"), 0.2, duty=0.25), 0.2)
    sparkle = decay(tone("tri", note_hz("E7"), 0.2), 0.15)
    return mix(concat(a, b), concat(silence(0.07), gain(sparkle, 0.3)))


def heal():
    out = silence(0.7)
    for k, n in enumerate(("C5", "E5", "G5", "C6")):
        f = note_hz(n)
        voice = mix(tone("tri", f, 0.4, vibrato=0.004), gain(tone("sine", f * 2, 0.4), 0.3))
        place(out, decay(voice, 0.4), int(k * 0.08 * RATE), 0.7)
    return lowpass(out, 6000)


def shell_break():
    out = silence(0.7)
    for k in range(3):
        crack = highpass(noise(0.06, 110 + k), 1500)
        place(out, decay(crack, 0.06), int(k * 0.045 * RATE), 0.8 - k * 0.15)
    # inharmonic partials ring like a struck metal plate
    ring = mix(*[gain(decay(tone("sine", f, 0.6), 0.5 - i * 0.08), 0.3) for i, f in enumerate((620, 1130, 1720, 2590))])
    place(out, ring, 0)
    return out


def ui_move():
    return adsr(tone("tri", 880, 0.06), 0.002, 0.02, 0.6, 0.03)


def ui_select():
    a = adsr(tone("square", 660, 0.06, duty=0.25), 0.002, 0.02, 0.7, 0.01)
    b = decay(tone("square", 990, 0.16, duty=0.25), 0.16)
    return lowpass(concat(a, b), 5000)


def pause():
    a = adsr(tone("tri", note_hz("A5"), 0.1), 0.003, 0.03, 0.7, 0.02)
    b = decay(tone("tri", note_hz("E5"), 0.22), 0.22)
    return concat(a, b)


def exit_():
    sweep = lowpass(highpass(noise(1.2, 111), 300), 400, 6000)
    sweep = adsr(sweep, a=0.5, d=0.2, s=0.6, r=0.5)
    out = gain(sweep, 0.4)
    for k, n in enumerate(("G5", "B5", "D6", "G6", "B6", "D7")):
        ping = decay(mix(tone("tri", note_hz(n), 0.35), gain(tone("sine", note_hz(n) * 2, 0.35), 0.2)), 0.35)
        place(out, ping, int((0.15 + k * 0.09) * RATE), 0.5)
    return out


def game_over():
    out = silence(1.45)
    for k, n in enumerate(("E4", "C4", "A3")):
        f = note_hz(n)
        length = 0.45 if k < 2 else 0.9
        voice = mix(tone("square", f, length, duty=0.5, vibrato=0.006 if k == 2 else 0.0), gain(tone("tri", f / 2, length), 0.6))
        voice = adsr(lowpass(voice, 1800), a=0.01, d=0.1, s=0.7, r=0.2 if k < 2 else 0.6)
        place(out, voice, int(k * 0.42 * RATE), 0.6)
    return out


def bell(freq, seconds):
    """Two-operator FM: a ratio of 3.5 gives the clangy partials of a small bell."""
    n = int(seconds * RATE)
    out = [0.0] * n
    k = math.log(1000) / (seconds * RATE)
    for i in range(n):
        t = i / RATE
        env = math.exp(-k * i)
        mod = math.sin(TAU * freq * 3.5 * t) * 2.2 * env
        out[i] = math.sin(TAU * freq * t + mod) * env
    return out


def logo():
    out = silence(1.45)
    for k, n in enumerate(("A4", "E5", "A5", "C#6")):
        place(out, bell(note_hz(n), 1.4 - k * 0.1), int(k * 0.05 * RATE), 0.5)
    pad = adsr(mix(tone("sine", note_hz("A3"), 1.45), gain(tone("sine", note_hz("E4"), 1.45), 0.5)), 0.2, 0.2, 0.6, 0.8)
    return lowpass(mix(out, gain(pad, 0.3)), 7000)


EFFECTS = {
    "Explosion_CTE01_56.1": explosion,
    "HORROR_GEN-HDF-14514": enemy_growl,
    "shoot": shoot,
    "jump": jump,
    "land": land,
    "smash": smash,
    "hook": hook,
    "hit": hit,
    "player_hurt": player_hurt,
    "pickup": pickup,
    "heal": heal,
    "shell_break": shell_break,
    "ui_move": ui_move,
    "ui_select": ui_select,
    "pause": pause,
    "exit": exit_,
    "game_over": game_over,
    "logo": logo,
}
