#!/usr/bin/env python3
"""Writes the small image files the image fuzz target starts from (fuzz/seeds/image: the formats
the game's content has no file of) and the damaged ones of fuzz/regressions/image, files that
crashed, hung or exhausted the image decoder. Each damaged file gets a .expected file naming
the failure line that its decode under every extension must log. Run it from anywhere; it
rewrites the files in place."""
import os
import struct
import zlib

FUZZ = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(FUZZ, "seeds", "image")
REGRESSIONS = os.path.join(FUZZ, "regressions", "image")
EXTENSIONS = [".png", ".dds", ".tga", ".bmp", ".jpg"]


class Bits:
    """Deflate's bit order: fields least significant bit first, Huffman codes most significant
    bit first."""

    def __init__(self):
        self.bits = []

    def field(self, value, count):
        self.bits += [(value >> i) & 1 for i in range(count)]

    def code(self, value, length):
        self.bits += [(value >> (length - 1 - i)) & 1 for i in range(length)]

    def data(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(sum(padded[i + j] << j for j in range(8)) for i in range(0, len(padded), 8))


# The order in which a dynamic block lists its code-length code lengths.
ORDER = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15]


def dynamic_header(bits, hlit, hdist, lengths):
    """BFINAL, BTYPE=2, the counts and the code-length code lengths (symbol -> length)."""
    bits.field(1, 1)
    bits.field(2, 2)
    bits.field(hlit - 257, 5)
    bits.field(hdist - 1, 5)
    bits.field(19 - 4, 4)
    for symbol in ORDER:
        bits.field(lengths.get(symbol, 0), 3)


def zlib_stream(deflate):
    return b"\x78\x9c" + deflate + b"\x00\x00\x00\x00"  # a wrong Adler-32 is never reached


def png(idat, width=4, height=4):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", idat) + chunk(b"IEND", b"")


def png_oversubscribed_code_lengths():
    # Nineteen code-length codes of one bit each: no prefix code can have them.
    bits = Bits()
    dynamic_header(bits, 257, 1, {s: 1 for s in range(19)})
    bits.field(0, 32)
    return png(zlib_stream(bits.data()))


def png_repeat_without_previous_length():
    # Code lengths 16 -> "0", 0 -> "10", 18 -> "11"; the first length read is 16, "repeat the
    # previous length", when there is none.
    bits = Bits()
    dynamic_header(bits, 257, 1, {16: 1, 0: 2, 18: 2})
    bits.code(0b0, 1)
    bits.field(3, 2)
    bits.field(0, 32)
    return png(zlib_stream(bits.data()))


def png_zero_run_past_the_table():
    # Three runs of 138 zero lengths (code 18) where only 258 lengths are declared.
    bits = Bits()
    dynamic_header(bits, 257, 1, {16: 1, 0: 2, 18: 2})
    for _ in range(3):
        bits.code(0b11, 2)
        bits.field(127, 7)
    bits.field(0, 32)
    return png(zlib_stream(bits.data()))


def png_incomplete_literal_code():
    # A literal/length code with a single one-bit symbol (and no end-of-block code), then
    # data that uses the unassigned code.
    bits = Bits()
    dynamic_header(bits, 257, 1, {1: 1, 0: 2, 18: 2})
    bits.code(0b10, 2)  # literal 0: no code
    bits.code(0b11, 2)  # 138 zeros ...
    bits.field(127, 7)
    bits.code(0b11, 2)  # ... and 117 more, up to symbol 255
    bits.field(106, 7)
    bits.code(0b0, 1)  # symbol 256 (end of block): one bit
    bits.code(0b0, 1)  # the one distance code: one bit
    bits.field(0xFFFFFFFF, 32)  # ones: the code that nothing was given
    return png(zlib_stream(bits.data()))


DDSD_CAPS, DDSD_HEIGHT, DDSD_WIDTH, DDSD_PITCH = 0x1, 0x2, 0x4, 0x8
DDSD_PIXELFORMAT, DDSD_LINEARSIZE = 0x1000, 0x80000
DDPF_FOURCC, DDPF_RGB, DDPF_ALPHAPIXELS = 0x4, 0x40, 0x1
DDSCAPS_TEXTURE = 0x1000


def dds(width, height, pitch, flags, pixel_flags, fourcc=b"\0\0\0\0", bit_count=0, masks=(0, 0, 0, 0)):
    pixel_format = struct.pack("<II4sI4I", 32, pixel_flags, fourcc, bit_count, *masks)
    header = struct.pack("<7I", 124, flags, height, width, pitch, 0, 0) + b"\0" * 44
    header += pixel_format + struct.pack("<5I", DDSCAPS_TEXTURE, 0, 0, 0, 0)
    assert len(header) == 124
    return b"DDS " + header


RGBA_MASKS = (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
UNCOMPRESSED = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_PITCH
COMPRESSED = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_LINEARSIZE


def dds_size_overflow():
    # 32768 x 32768 x 4 bytes is 2^32: zero in 32-bit arithmetic.
    return dds(32768, 32768, 32768 * 4 & 0xFFFFFFFF, UNCOMPRESSED, DDPF_RGB | DDPF_ALPHAPIXELS, bit_count=32,
               masks=RGBA_MASKS) + b"\xff" * 64


def dds_block_count_overflow():
    # DXT5 blocks of 65535 x 65535 pixels: the byte count wraps in 32 bits, too.
    return dds(0xFFFFFFFF, 0xFFFFFFFF, 0, COMPRESSED, DDPF_FOURCC, fourcc=b"DXT5") + b"\x00" * 32


def dds_linear_size_past_the_end():
    # A 64 x 64 DXT1 image (2048 bytes, as the linear size says) with 16 bytes of data.
    return dds(64, 64, 2048, COMPRESSED, DDPF_FOURCC, fourcc=b"DXT1") + b"\x55" * 16


def dds_pitch_past_the_end():
    # 256 rows of 1024 bytes promised, 100 bytes present.
    return dds(256, 256, 1024, UNCOMPRESSED, DDPF_RGB | DDPF_ALPHAPIXELS, bit_count=32,
               masks=RGBA_MASKS) + b"\x80" * 100


def dds_truncated_vast():
    # 103 bytes: the header stops inside the pixel format, and claims 65535 x 65535.
    whole = dds(65535, 65535, 65535 * 4, UNCOMPRESSED, DDPF_RGB | DDPF_ALPHAPIXELS, bit_count=32,
                masks=RGBA_MASKS)
    return whole[:103]


def tga(image_type, width, height, bits, pixels, descriptor=0x20):
    # No image id, no colour map; descriptor 0x20 puts the first row at the top.
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, image_type, 0, 0, 0, 0, 0, width, height, bits, descriptor)
    return header + pixels


def tga_seeds():
    rgb = bytes(range(4 * 4 * 3))
    # Run-length packets: four runs of four pixels, BGRA.
    rle = b"".join(bytes([0x83]) + bytes([i * 60, 255 - i * 60, 128, 255]) for i in range(4))
    return {
        "rgb24.tga": tga(2, 4, 4, 24, rgb),
        "rle32.tga": tga(10, 4, 4, 32, rle, descriptor=0x28),
        "grey8.tga": tga(3, 4, 2, 8, bytes([0, 64, 128, 255] * 2), descriptor=0),
    }


def bmp(width, height, bits, rows, palette=b""):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(rows), 2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows


def bmp_seeds():
    # Rows bottom-up, each padded to four bytes.
    rgb = b"".join(bytes([x * 60, y * 60, 200] * 3) + b"\0\0\0" for y in range(3) for x in range(1))
    bgra = bytes((i * 7) & 255 for i in range(2 * 2 * 4))
    palette = b"".join(bytes([i * 80, 255 - i * 80, 40, 0]) for i in range(4))
    indexed = bytes([0, 1, 2, 3]) * 4
    return {
        "rgb24.bmp": bmp(3, 3, 24, rgb),
        "bgra32.bmp": bmp(2, 2, 32, bgra),
        "indexed8.bmp": bmp(4, -4, 8, indexed, palette),
    }


def jpeg(width, height, components):
    """A baseline JPEG whose every block is flat mid-grey: one Huffman table per class, each
    holding the single symbol 0 as the one-bit code "0", so a block is "0" (DC difference 0)
    then "0" (end of block)."""

    def segment(marker, body):
        return bytes([0xFF, marker]) + struct.pack(">H", len(body) + 2) + body

    quant = segment(0xDB, b"\x00" + bytes([1] * 64))
    frame = struct.pack(">BHHB", 8, height, width, components)
    frame += b"".join(bytes([c + 1, 0x11, 0]) for c in range(components))
    table = bytes([1] + [0] * 15) + b"\x00"
    huffman = segment(0xC4, b"\x00" + table + b"\x10" + table)
    scan = bytes([components]) + b"".join(bytes([c + 1, 0x00]) for c in range(components)) + b"\x00\x3f\x00"
    blocks = ((width + 7) // 8) * ((height + 7) // 8) * components
    bits = "00" * blocks
    bits += "1" * (-len(bits) % 8)
    data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    return (b"\xff\xd8" + quant + segment(0xC0, frame) + huffman + segment(0xDA, scan) +
            data.replace(b"\xff", b"\xff\x00") + b"\xff\xd9")


def jpeg_seeds():
    return {"grey8x8.jpg": jpeg(8, 8, 1), "colour16x8.jpg": jpeg(16, 8, 3)}


FILES = {
    "png_oversubscribed_code_lengths.png": png_oversubscribed_code_lengths,
    "png_repeat_without_previous_length.png": png_repeat_without_previous_length,
    "png_zero_run_past_the_table.png": png_zero_run_past_the_table,
    "png_incomplete_literal_code.png": png_incomplete_literal_code,
    "dds_size_overflow.dds": dds_size_overflow,
    "dds_block_count_overflow.dds": dds_block_count_overflow,
    "dds_linear_size_past_the_end.dds": dds_linear_size_past_the_end,
    "dds_pitch_past_the_end.dds": dds_pitch_past_the_end,
    "dds_truncated_vast.dds": dds_truncated_vast,
}


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    for name, data in {**tga_seeds(), **bmp_seeds(), **jpeg_seeds()}.items():
        write(SEEDS, name, data)
    expected = "".join("input%s Failed to Load\n" % extension for extension in EXTENSIONS)
    for name, make in FILES.items():
        write(REGRESSIONS, name, make())
        write(REGRESSIONS, name + ".expected", expected.encode())


if __name__ == "__main__":
    main()
