"""Chiptune loops: a small step sequencer with bass, arpeggio, pad, drums and a melody.

Every note is added into a buffer exactly one loop long; what rings past the end wraps to the
start, so the file loops without a seam. Melodies are made from a per-song rhythm motif and a
seeded walk over the scale whose strong beats land on chord tones: the same seed gives the
same tune.
"""
import math
import random

from synth import *

CHORDS = {"": (0, 4, 7), "m": (0, 3, 7), "dim": (0, 3, 6), "sus": (0, 5, 7), "7": (0, 4, 7, 10),
          "m7": (0, 3, 7, 10), "maj7": (0, 4, 7, 11)}
NOTE = {"C": 0, "C#": 1, "Db": 1, "D": 2, "D#": 3, "Eb": 3, "E": 4, "F": 5, "F#": 6, "Gb": 6, "G": 7,
        "G#": 8, "Ab": 8, "A": 9, "A#": 10, "Bb": 10, "B": 11}


def chord(name):
    """'Am' -> (root pitch class, intervals)."""
    root = name[:2] if len(name) > 1 and name[1] in "#b" else name[:1]
    return NOTE[root], CHORDS[name[len(root):]]


_cache = {}


def voice(kind, midi, seconds, level, a=0.005, d=0.08, s=0.6, r=0.05, duty=0.5, vibrato=0.0, cutoff=None,
          detune=0.0):
    key = (kind, midi, round(seconds, 4), a, d, s, r, duty, vibrato, cutoff, detune)
    if key not in _cache:
        f = midi_hz(midi)
        sig = tone(kind, f, seconds, duty=duty, vibrato=vibrato, vib_rate=5.5)
        if detune:
            sig = mix(sig, tone(kind, f * (1 + detune), seconds, duty=duty))
            sig = gain(sig, 0.5)
        if cutoff:
            sig = lowpass(sig, cutoff)
        _cache[key] = adsr(sig, a, d, s, r)
    return gain(_cache[key], level)


class Song:
    def __init__(self, bpm, chords, scale_root, scale, seed):
        self.bpm = bpm
        self.chords = chords            # one chord name per bar
        self.bars = len(chords)
        self.step = 60.0 / bpm / 4      # a sixteenth note, in seconds
        self.length = int(round(self.bars * 16 * self.step * RATE))
        self.buf = [0.0] * self.length
        self.scale = [(scale_root + i) % 12 for i in scale]
        self.rng = random.Random(seed)
        self.seed = seed

    def at(self, bar, step):
        return int(round((bar * 16 + step) * self.step * RATE))

    def add(self, sig, bar, step, g=1.0):
        place(self.buf, sig, self.at(bar, step), g, wrap=True)

    # --- parts --------------------------------------------------------------------------------
    def bass(self, pattern, octave=2, kind="tri", level=0.5, duty=0.5, cutoff=None):
        """pattern: list of (step, length in steps, interval above the root in semitones)."""
        for bar, name in enumerate(self.chords):
            root, _ = chord(name)
            for st, ln, iv in pattern:
                midi = 12 * (octave + 1) + root + iv
                sig = voice(kind, midi, ln * self.step, level, a=0.004, d=0.05, s=0.7, r=min(0.04, ln * self.step * 0.3),
                            duty=duty, cutoff=cutoff)
                self.add(sig, bar, st)

    def arp(self, every=2, octave=4, kind="square", level=0.18, duty=0.25, order=(0, 1, 2, 1), length=None,
            cutoff=None):
        for bar, name in enumerate(self.chords):
            root, ivs = chord(name)
            tones = [12 * (octave + 1) + root + iv for iv in ivs] + [12 * (octave + 2) + root]
            for k, st in enumerate(range(0, 16, every)):
                midi = tones[order[k % len(order)] % len(tones)]
                ln = (length or every) * self.step
                sig = voice(kind, midi, ln, level, a=0.003, d=0.04, s=0.5, r=min(0.03, ln * 0.4), duty=duty, cutoff=cutoff)
                self.add(sig, bar, st)

    def pad(self, octave=3, kind="tri", level=0.12, cutoff=1800, detune=0.004):
        for bar, name in enumerate(self.chords):
            root, ivs = chord(name)
            for iv in ivs[:3]:
                midi = 12 * (octave + 1) + root + iv
                sig = voice(kind, midi, 16 * self.step, level, a=0.25, d=0.3, s=0.8, r=0.35, cutoff=cutoff, detune=detune)
                self.add(sig, bar, 0)

    def drums(self, kick_p="", snare_p="", hat_p="", level=1.0, bars=None):
        """Patterns are 16 characters per bar: 'x' hit, 'o' soft hit, anything else rest."""
        k, s, h, ho = kick(), snare(), hat(), hat(0.12, open_=True)
        for bar in range(self.bars):
            if bars and bar not in bars:
                continue
            for st in range(16):
                for pat, sample, g in ((kick_p, k, 0.9), (snare_p, s, 0.45), (hat_p, h, 0.22)):
                    if not pat:
                        continue
                    ch = pat[(bar * 16 + st) % len(pat)]
                    if ch == "x":
                        self.add(sample, bar, st, g * level)
                    elif ch == "o":
                        self.add(sample if pat is not hat_p else ho, bar, st, g * level * 0.55)

    def melody(self, octave=5, kind="square", level=0.22, duty=0.5, vibrato=0.006, density=0.6, echo_g=0.0,
               rest_bars=(), cutoff=None, motif_bars=2, low=None, high=None):
        """A tune over the chords: a rhythm motif repeats every motif_bars bars; pitches walk the
        scale and snap to chord tones on the beat."""
        rr = random.Random(self.seed * 7 + 1)
        motifs = []
        for m in range(motif_bars):
            steps, st = [], 0
            while st < 16:
                ln = rr.choice((2, 2, 4, 4, 2, 6, 8) if density < 0.7 else (1, 2, 2, 2, 4, 3))
                ln = min(ln, 16 - st)
                rest = rr.random() > density and st % 4 != 0
                steps.append((st, ln, rest))
                st += ln
            motifs.append(steps)
        low = low if low is not None else 12 * (octave + 1) - 3
        high = high if high is not None else 12 * (octave + 1) + 16
        pitch = 12 * (octave + 1) + self.scale[0]
        centre = (low + high) // 2
        out = [0.0] * self.length
        pr = random.Random(self.seed * 13 + 5)
        for bar, name in enumerate(self.chords):
            if bar in rest_bars:
                continue
            root, ivs = chord(name)
            chord_pcs = [(root + iv) % 12 for iv in ivs]
            motif = motifs[bar % motif_bars]
            final_bar = bar == self.bars - 1
            for i, (st, ln, rest) in enumerate(motif):
                if rest:
                    continue
                move = pr.choice((-2, -1, -1, 1, 1, 2, 3, -3, -4, 4))
                # drift back toward the middle of the range so the tune does not wander off
                if pitch > centre + 5 and move > 0 and pr.random() < 0.6:
                    move = -move
                elif pitch < centre - 5 and move < 0 and pr.random() < 0.6:
                    move = -move
                previous = pitch
                pitch = max(low, min(high, pitch + move))
                pitch = self.snap(pitch, chord_pcs if st % 4 == 0 or final_bar else None)
                if pitch == previous and pr.random() < 0.7:
                    pitch = self.next_allowed(pitch, 1 if move > 0 else -1, chord_pcs if st % 4 == 0 else None)
                secs = ln * self.step
                sig = voice(kind, pitch, secs, level, a=0.01, d=0.1, s=0.65, r=min(0.08, secs * 0.4), duty=duty,
                            vibrato=vibrato if ln >= 4 else 0.0, cutoff=cutoff)
                place(out, sig, self.at(bar, st), 1.0, wrap=True)
        if echo_g:
            out = echo(out, self.step * 3, echo_g, wrap=True, taps=3)
        for i, v in enumerate(out):
            self.buf[i] += v

    def snap(self, midi, pcs):
        """Nearest scale note, or nearest chord tone when pcs is given."""
        allowed = pcs or self.scale
        for d in (0, -1, 1, -2, 2, -3, 3, -4, 4, 5, -5, 6):
            if (midi + d) % 12 in allowed:
                return midi + d
        return midi

    def next_allowed(self, midi, direction, pcs):
        allowed = pcs or self.scale
        for d in range(1, 12):
            if (midi + d * direction) % 12 in allowed:
                return midi + d * direction
        return midi

    def render(self, level=0.85):
        out = soft_clip(self.buf, 1.2)
        mean = sum(out) / len(out)  # a constant offset only wastes headroom
        return normalise([v - mean for v in out], level)


MINOR = (0, 2, 3, 5, 7, 8, 10)
MAJOR = (0, 2, 4, 5, 7, 9, 11)
HARMONIC = (0, 2, 3, 5, 7, 8, 11)


def menu():
    s = Song(76, ["Am", "F", "C", "G", "Am", "F", "Dm", "Esus"], 9, MINOR, seed=11)
    s.pad(octave=3, level=0.13)
    s.bass([(0, 12, 0), (12, 4, 7)], octave=2, kind="sine", level=0.45)
    s.arp(every=2, octave=4, kind="tri", level=0.10, order=(0, 1, 2, 3, 2, 1, 0, 2))
    s.melody(octave=5, kind="tri", level=0.22, density=0.45, echo_g=0.35, vibrato=0.008, cutoff=3000)
    s.drums(hat_p="....o.......o...", level=0.5)
    return s.render()


def level1():
    prog = ["C", "G", "Am", "F", "C", "G", "Am", "F", "F", "G", "Em", "Am", "F", "G", "C", "C"]
    s = Song(132, prog, 0, MAJOR, seed=21)
    s.bass([(0, 2, 0), (2, 2, 12), (4, 2, 0), (6, 2, 12), (8, 2, 0), (10, 2, 12), (12, 2, 7), (14, 2, 12)],
           octave=2, kind="square", duty=0.5, level=0.32, cutoff=1200)
    s.arp(every=1, octave=4, kind="square", duty=0.125, level=0.08, order=(0, 1, 2, 3), cutoff=4000)
    s.melody(octave=5, kind="square", duty=0.25, level=0.2, density=0.75, echo_g=0.25, cutoff=5000)
    s.drums(kick_p="x.......x.x.....", snare_p="....x.......x...", hat_p="x.o.x.o.x.o.x.oo")
    return s.render()


def level2():
    prog = ["Dm", "Dm", "Bb", "A", "Dm", "Dm", "Eb", "A", "Gm", "Bb", "A", "A"]
    s = Song(108, prog, 2, HARMONIC, seed=31)
    # a pulsing low ostinato that never rests keeps the pressure on
    s.bass([(i, 1, 0 if i % 8 else 12) for i in range(16)], octave=1, kind="saw", level=0.35, cutoff=700)
    s.pad(octave=3, kind="saw", level=0.07, cutoff=900)
    s.arp(every=2, octave=4, kind="square", duty=0.5, level=0.07, order=(0, 2, 1, 3), cutoff=2000)
    s.melody(octave=4, kind="saw", level=0.2, density=0.5, vibrato=0.012, echo_g=0.3, cutoff=2200,
             rest_bars=(0, 1))
    s.drums(kick_p="x.....x...x.....", snare_p="............x...", hat_p="..x...x...x...x.", level=0.9)
    return s.render()


def level3():
    prog = ["Em", "C", "D", "B", "Em", "C", "D", "B", "Am", "C", "D", "B", "Em", "C", "D", "Em"]
    s = Song(156, prog, 4, HARMONIC, seed=41)
    s.bass([(i, 2, 0 if (i // 2) % 2 == 0 else 12) for i in range(0, 16, 2)], octave=2, kind="saw",
           level=0.34, cutoff=1100)
    s.arp(every=1, octave=4, kind="square", duty=0.25, level=0.07, order=(0, 1, 2, 3, 2, 1), cutoff=3500)
    s.melody(octave=5, kind="square", duty=0.5, level=0.18, density=0.8, echo_g=0.2, cutoff=4000, rest_bars=(0, 1))
    s.drums(kick_p="x...x...x...x...", snare_p="....x.......x..o", hat_p="xoxoxoxoxoxoxoxo")
    return s.render()


def gameover():
    s = Song(60, ["Am", "Dm", "F", "E"], 9, HARMONIC, seed=51)
    s.pad(octave=3, level=0.16, cutoff=1200)
    s.bass([(0, 16, 0)], octave=2, kind="sine", level=0.45)
    s.arp(every=4, octave=4, kind="tri", level=0.09, order=(0, 1, 2, 1))
    s.melody(octave=4, kind="tri", level=0.25, density=0.4, echo_g=0.4, vibrato=0.01, cutoff=2000, motif_bars=1)
    return s.render(0.8)


def victory():
    prog = ["G", "D", "Em", "C", "G", "D", "C", "D", "Em", "C", "D", "G"]
    s = Song(126, prog, 7, MAJOR, seed=61)
    s.bass([(0, 3, 0), (3, 1, 0), (4, 2, 7), (6, 2, 12), (8, 3, 0), (11, 1, 0), (12, 2, 7), (14, 2, 4)],
           octave=2, kind="square", level=0.3, cutoff=1400)
    s.arp(every=2, octave=4, kind="square", duty=0.25, level=0.09, order=(0, 1, 2, 3))
    s.pad(octave=3, level=0.07, cutoff=2000)
    s.melody(octave=5, kind="square", duty=0.5, level=0.21, density=0.7, echo_g=0.25, cutoff=5000)
    s.drums(kick_p="x.....x.x.......", snare_p="....x.......x...", hat_p="x.x.x.x.x.x.x.x.")
    return s.render()


SONGS = {"menu": menu, "level1": level1, "level2": level2, "level3": level3, "gameover": gameover,
         "victory": victory}
