#!/usr/bin/env python3
"""Writes the engine's two default sprites as uncompressed 32-bit DDS files.

    tools/make_default_sprites.py            # writes into Resources/Sprites

basicSprite.dds          32 x 32 opaque white: the texture every sprite and UI image starts with.
basicParticleSprite.dds  32 x 32 white dot whose alpha falls off smoothly from the centre.
"""
import math
import os
import struct
import sys

SIZE = 32


def dds(width, height, bgra):
    """An uncompressed DDS: 'DDS ', a 124-byte header, then rows of B, G, R, A bytes."""
    header = struct.pack(
        "<4s7I44x8I4I4x",
        b"DDS ",
        124,                     # header size
        0x1007 | 0x8,            # caps, height, width, pixel format, pitch
        height,
        width,
        width * 4,               # pitch
        0,                       # depth
        0,                       # mipmaps
        32,                      # pixel format size
        0x41,                    # RGB with alpha
        0,                       # no four-cc
        32,                      # bits per pixel
        0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000,  # R, G, B, A masks
        0x1000, 0, 0, 0,         # a plain texture
    )
    assert len(header) == 128
    return header + bytes(bgra)


def solid_white():
    return [255] * (SIZE * SIZE * 4)


def soft_dot():
    pixels = []
    centre = (SIZE - 1) / 2.0
    for y in range(SIZE):
        for x in range(SIZE):
            distance = math.hypot(x - centre, y - centre) / (SIZE / 2.0)
            alpha = max(0.0, 1.0 - distance * distance) ** 2  # flat centre, soft rim, zero outside
            pixels += [255, 255, 255, round(alpha * 255)]
    return pixels


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Resources", "Sprites")
    os.makedirs(root, exist_ok=True)
    for name, pixels in (("basicSprite.dds", solid_white()), ("basicParticleSprite.dds", soft_dot())):
        path = os.path.normpath(os.path.join(root, name))
        with open(path, "wb") as out:
            out.write(dds(SIZE, SIZE, pixels))
        print("wrote", path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
