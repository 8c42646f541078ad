#!/usr/bin/env python3
"""Synthesises every sound effect and music loop and encodes them to OGG Vorbis.

    python3 tools/audio/make_sounds.py              # everything into Resources/Audio
    python3 tools/audio/make_sounds.py shoot menu   # only the named sounds

Samples are made with the standard library (tools/audio/synth.py), written as WAV files into a
temporary folder and encoded with `oggenc -q 2` (package vorbis-tools). Fixed seeds: the same
input gives the same sounds on every run.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zlib

sys.dont_write_bytecode = True  # keep the tool folder free of __pycache__
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import music  # noqa: E402
import sfx  # noqa: E402
from synth import RATE, fade, gain, highpass, normalise, write_wav  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
MAX_EFFECT_SECONDS = 1.5
# Peaks leave the mix its headroom: the music bed plus a burst of effects (a smash, a heal, a
# jump and an explosion within a quarter second) stays below full scale at default volumes.
EFFECT_PEAK = 0.3
MUSIC_GAIN = 0.28  # songs are rendered with peaks near 0.85
MAX_MUSIC_BYTES = 400 * 1024


def seam_jump(sig):
    """How far the wave jumps from the last sample back to the first, relative to the largest
    step inside the loop: near or below 1 means the loop point is as smooth as the music."""
    inner = max(abs(sig[i + 1] - sig[i]) for i in range(len(sig) - 1))
    return abs(sig[0] - sig[-1]) / max(1e-9, inner)


def encode(wav, ogg):
    # A fixed stream serial (oggenc picks a random one otherwise) keeps rebuilt files identical.
    serial = zlib.crc32(os.path.basename(ogg).encode()) & 0x7FFFFFFF
    subprocess.run(["oggenc", "-Q", "-q", "2", "-s", str(serial), "-o", ogg, wav], check=True)


def main(argv):
    if shutil.which("oggenc") is None:
        print("Error: oggenc not found; install vorbis-tools (apt-get install vorbis-tools) and run again.")
        return 1
    wanted = set(argv[1:])
    sfx_dir = os.path.join(ROOT, "Resources", "Audio", "SFX")
    music_dir = os.path.join(ROOT, "Resources", "Audio", "Music")
    os.makedirs(sfx_dir, exist_ok=True)
    os.makedirs(music_dir, exist_ok=True)
    failed = False
    with tempfile.TemporaryDirectory(prefix="corvalune-sounds-") as tmp:
        for name, make in sfx.EFFECTS.items():
            if wanted and name not in wanted:
                continue
            # The high-pass takes out DC (a thump at the edges).
            sig = normalise(fade(highpass(make(), 25), 0.002, 0.015), EFFECT_PEAK)
            seconds = len(sig) / RATE
            if seconds > MAX_EFFECT_SECONDS:
                print("Error: effect %s is %.2f s, longer than %.1f s" % (name, seconds, MAX_EFFECT_SECONDS))
                failed = True
                continue
            wav = os.path.join(tmp, name + ".wav")
            write_wav(wav, sig)
            out = os.path.join(sfx_dir, name + ".ogg")
            encode(wav, out)
            print("wrote %s (%.2f s, %d bytes)" % (os.path.relpath(out, ROOT), seconds, os.path.getsize(out)))
        for name, make in music.SONGS.items():
            if wanted and name not in wanted:
                continue
            sig = gain(make(), MUSIC_GAIN)
            seconds = len(sig) / RATE
            wav = os.path.join(tmp, name + ".wav")
            write_wav(wav, sig)
            out = os.path.join(music_dir, name + ".ogg")
            encode(wav, out)
            size = os.path.getsize(out)
            jump = seam_jump(sig)
            print("wrote %s (%.1f s loop, %d bytes, seam %.2f)" % (os.path.relpath(out, ROOT), seconds, size, jump))
            if not 16 <= seconds <= 30:
                print("Error: loop %s is %.1f s, outside 16..30 s" % (name, seconds))
                failed = True
            if size > MAX_MUSIC_BYTES:
                print("Error: loop %s is %d bytes, over %d" % (name, size, MAX_MUSIC_BYTES))
                failed = True
            if jump > 1.5:
                print("Error: loop %s jumps at its seam (%.2f)" % (name, jump))
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
