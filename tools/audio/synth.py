"""Tiny synthesiser: oscillators, envelopes, one-pole filters, drums, and a WAV writer.

Sounds are plain Python lists of floats in -1..1 at RATE samples per second. Everything random
comes from random.Random with a fixed seed, so the output is the same on every run.
"""
import math
import random
import struct
import wave

RATE = 44100
TAU = 2 * math.pi


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def note_hz(name):
    """'A4' -> 440.0; sharps as 'C#5', flats as 'Eb3'."""
    names = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
    semis = names[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        semis += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    octave = int(rest)
    midi = 12 * (octave + 1) + semis
    return 440.0 * 2 ** ((midi - 69) / 12.0)


def midi_hz(m):
    return 440.0 * 2 ** ((m - 69) / 12.0)


# --- oscillators: phase in cycles (0..1) -> sample ------------------------------------------------
def osc_value(kind, ph, duty=0.5):
    ph -= math.floor(ph)
    if kind == "sine":
        return math.sin(TAU * ph)
    if kind == "square":
        # minus the mean, so a narrow pulse carries no DC offset that would thump at note edges
        return (1.0 if ph < duty else -1.0) - (2 * duty - 1)
    if kind == "tri":
        return 4 * ph - 1 if ph < 0.5 else 3 - 4 * ph
    if kind == "saw":
        return 2 * ph - 1
    raise ValueError(kind)


def tone(kind, freq, seconds, duty=0.5, sweep_to=None, vibrato=0.0, vib_rate=6.0, curve=1.0):
    """An oscillator whose pitch may glide from freq to sweep_to (exponentially, shaped by curve)."""
    n = int(round(seconds * RATE))
    out = [0.0] * n
    ph = 0.0
    f1 = sweep_to if sweep_to is not None else freq
    for i in range(n):
        t = i / max(1, n - 1)
        f = freq * (f1 / freq) ** (t ** curve) if f1 != freq else freq
        if vibrato:
            f *= 1 + vibrato * math.sin(TAU * vib_rate * i / RATE)
        ph += f / RATE
        out[i] = osc_value(kind, ph, duty)
    return out


def noise(seconds, seed, steps=1):
    """White noise; steps > 1 holds each value that many samples (a rougher, lower noise)."""
    rng = random.Random(seed)
    n = int(round(seconds * RATE))
    out = [0.0] * n
    v = 0.0
    for i in range(n):
        if i % steps == 0:
            v = rng.uniform(-1, 1)
        out[i] = v
    return out


# --- envelopes and shaping ------------------------------------------------------------------------
def adsr(sig, a=0.005, d=0.05, s=0.7, r=0.05, hold=None):
    """Attack, decay, sustain level, release; the release ends exactly at the last sample."""
    n = len(sig)
    na, nd, nr = int(a * RATE), int(d * RATE), int(r * RATE)
    out = [0.0] * n
    for i in range(n):
        if i < na:
            e = i / max(1, na)
        elif i < na + nd:
            e = 1 - (1 - s) * (i - na) / max(1, nd)
        else:
            e = s
        if i >= n - nr:
            e *= (n - i) / max(1, nr)
        out[i] = sig[i] * e
    return out


def decay(sig, seconds_to_quiet, attack=0.002):
    """Exponential fall to about -60 dB after seconds_to_quiet, with a short attack."""
    k = math.log(1000) / max(1e-4, seconds_to_quiet * RATE)
    na = max(1, int(attack * RATE))
    return [s * math.exp(-k * i) * (min(1.0, i / na)) for i, s in enumerate(sig)]


def fade(sig, fin=0.003, fout=0.01):
    """Short fades so a sound never starts or stops on a jump (the click)."""
    n = len(sig)
    a, b = int(fin * RATE), int(fout * RATE)
    out = list(sig)
    for i in range(min(a, n)):
        out[i] *= i / a
    for i in range(min(b, n)):
        out[n - 1 - i] *= i / b
    return out


def lowpass(sig, cutoff, cutoff_to=None):
    """One-pole low-pass; the cutoff may glide linearly to cutoff_to."""
    out = [0.0] * len(sig)
    y = 0.0
    n = len(sig)
    for i, x in enumerate(sig):
        c = cutoff if cutoff_to is None else cutoff + (cutoff_to - cutoff) * i / max(1, n - 1)
        a = 1 - math.exp(-TAU * c / RATE)
        y += a * (x - y)
        out[i] = y
    return out


def highpass(sig, cutoff):
    lo = lowpass(sig, cutoff)
    return [x - l for x, l in zip(sig, lo)]


def bandpass(sig, lo, hi):
    return lowpass(highpass(sig, lo), hi)


def gain(sig, g):
    return [s * g for s in sig]


def mix(*sigs, length=None):
    n = length or max(len(s) for s in sigs)
    out = [0.0] * n
    for s in sigs:
        for i in range(min(n, len(s))):
            out[i] += s[i]
    return out


def place(dst, src, at, g=1.0, wrap=False):
    """Add src into dst starting at sample `at`; with wrap the part past the end goes to the start,
    which is how loops keep their release tails seamless."""
    n = len(dst)
    for i, s in enumerate(src):
        j = at + i
        if j >= n:
            if not wrap:
                break
            j %= n
        dst[j] += s * g


def concat(*sigs):
    out = []
    for s in sigs:
        out.extend(s)
    return out


def normalise(sig, peak=0.89):
    m = max(1e-9, max(abs(s) for s in sig))
    return [s * peak / m for s in sig]


def soft_clip(sig, drive=1.0):
    return [math.tanh(s * drive) / math.tanh(drive) for s in sig]


def echo(sig, delay, feedback, wrap=False, taps=4):
    out = list(sig)
    d = int(delay * RATE)
    g = 1.0
    for _ in range(taps):
        g *= feedback
        shifted = [0.0] * len(sig)
        place(shifted, sig, d, g, wrap)
        out = [a + b for a, b in zip(out, shifted)]
        d += int(delay * RATE)
    return out


# --- drums ----------------------------------------------------------------------------------------
def kick(seconds=0.25, top=140, bottom=45):
    body = tone("sine", top, seconds, sweep_to=bottom, curve=0.35)
    click = lowpass(noise(0.01, 5), 3000)
    return fade(mix(decay(body, seconds), gain(decay(click, 0.01), 0.4)), 0.0005, 0.005)


def snare(seconds=0.2, seed=9):
    n = highpass(noise(seconds, seed), 1200)
    body = tone("tri", 190, seconds, sweep_to=150)
    return fade(mix(gain(decay(n, seconds), 0.8), gain(decay(body, seconds * 0.5), 0.5)), 0.0005, 0.005)


def hat(seconds=0.05, seed=3, open_=False):
    n = highpass(noise(seconds, seed), 7000)
    return fade(decay(n, seconds if not open_ else seconds * 1.5), 0.0005, 0.003)


# --- output ---------------------------------------------------------------------------------------
def write_wav(path, sig):
    frames = bytearray()
    for s in sig:
        v = max(-1.0, min(1.0, s))
        frames += struct.pack("<h", int(round(v * 32767)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))
