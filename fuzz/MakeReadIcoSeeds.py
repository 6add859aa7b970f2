#!/usr/bin/python3
"""Writes the hand-made hostile seeds of fuzz/corpus/ReadIco/.

The written-*.ico seeds come from the program itself: grids painted with PaintGrid
(tests/support/IcoFixtures.h) and saved with WriteIco: the full grid with PNG compression (the
256 px image left blank, since painted it makes a 144 KB PNG) and two partial grids. The full
grid without PNG (300 KB) adds no coverage and would only raise the fuzzer's input length. The damaged PNG seeds below start from the PNG stream in written-full-grid-png.ico.

Run from anywhere: /usr/bin/python3 fuzz/MakeReadIcoSeeds.py
"""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "ReadIco")


def ico(entries, kind=1, count=None):
    """entries: (width, height, planes, bits, data[, bytes[, offset]]) laid out back to back."""
    out = struct.pack("<HHH", 0, kind, len(entries) if count is None else count)
    offset = 6 + 16 * len(entries)
    directory, images = b"", b""
    for e in entries:
        w, h, planes, bits, data = e[:5]
        size = e[5] if len(e) > 5 and e[5] is not None else len(data)
        where = e[6] if len(e) > 6 else offset
        directory += struct.pack("<BBBBHHII", w, h, 0, 0, planes, bits, size, where)
        images += data
        offset += len(data)
    return out + directory + images


def bmp(width, doubled_height, planes, bits, clr_used=0, bi_size=40, total=None):
    """A header and patterned bytes, as many as the header's layout needs unless `total`."""
    header = struct.pack("<IiiHHIIiiII", bi_size, width, doubled_height, planes, bits, 0, 0, 0,
                         0, clr_used, 0)
    if total is None:
        colors = clr_used & 0xFFFF if clr_used else {1: 2, 4: 16, 8: 256}.get(bits, 0)
        rows = max(doubled_height // 2, 0)
        total = (bi_size + 4 * colors + rows * ((width * planes * bits + 31) // 32 * 4) +
                 rows * ((width + 31) // 32 * 4))
    body = bytes((i * 37 + 11) & 0xFF for i in range(max(total - 40, 0)))
    return (header + body)[:total]


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, color_type, rows=None):
    """A PNG of 8-bit samples; rows of filter byte 0 and zeros unless given."""
    samples = {2: 3, 6: 4}[color_type]
    raw = rows if rows is not None else (b"\0" * (1 + width * samples)) * height
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8,
                                                             color_type, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def written_png():
    data = open(os.path.join(HERE, "written-full-grid-png.ico"), "rb").read()
    count = struct.unpack_from("<H", data, 4)[0]
    for i in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if w == 0 and h == 0 and data[offset:offset + 4] == b"\x89PNG":
            return data[offset:offset + size]
    raise SystemExit("written-full-grid-png.ico holds no PNG entry")


def with_ihdr(stream, width, height):
    """The stream with other IHDR sizes and a CRC that matches them."""
    ihdr = stream[12:29]
    ihdr = ihdr[:4] + struct.pack(">II", width, height) + ihdr[12:]
    return stream[:12] + ihdr + struct.pack(">I", zlib.crc32(ihdr)) + stream[33:]


def with_garbage_idat(stream):
    """The stream with its IDAT data overwritten by bytes that inflate to nothing, CRC intact."""
    at = stream.index(b"IDAT") - 4
    length = struct.unpack_from(">I", stream, at)[0]
    data = b"\x78\x9c" + b"\xAA" * (length - 2)
    return stream[:at] + chunk(b"IDAT", data) + stream[at + 12 + length:]


def seeds():
    block16 = bmp(16, 32, 1, 4)  # a 16 x 16 4-bit block of 296 bytes
    stream = written_png()
    idat = stream.index(b"IDAT")
    bad_crc = bytearray(stream)
    bad_crc[29] ^= 0xFF
    return {
        "count-0": ico([]),
        "count-65535": ico([(16, 16, 1, 4, b"")], count=65535),
        "reserved-word-set": b"\1\0\1\0\0\0",
        "header-3-bytes": b"\0\0\1",
        "offset-past-end": ico([(16, 16, 1, 4, block16, None, 0x10000)]),
        "length-past-end": ico([(16, 16, 1, 4, block16, len(block16) + 1)]),
        "offset-wraps-32-bits": ico([(16, 16, 1, 4, block16, 0x20, 0xFFFFFFF0)]),
        "offset-wraps-32-bits-256": ico([(0, 0, 1, 32, block16, 0x20, 0xFFFFFFF0)]),
        "length-ffffff0": ico([(16, 16, 1, 4, block16, 0xFFFFFFF0)]),
        "length-ffffff0-temporary": ico([(64, 64, 1, 32, block16, 0xFFFFFFF0)]),
        "clrused-huge": ico([(16, 16, 1, 8, bmp(16, 32, 1, 8, 0xFFFFFFFF, total=1384))]),
        "clrused-65536": ico([(16, 16, 1, 8, bmp(16, 32, 1, 8, 0x10000, total=1384))]),
        "height-0": ico([(16, 16, 1, 4, bmp(16, 0, 1, 4, total=296))]),
        "height-1": ico([(16, 16, 1, 4, bmp(16, 1, 1, 4, total=296))]),
        "height-negative": ico([(16, 16, 1, 4, bmp(16, -32, 1, 4, total=296))]),
        "height-int-min": ico([(16, 16, 1, 4, bmp(16, -2**31, 1, 4, total=296))]),
        "width-negative": ico([(16, 16, 1, 4, bmp(-16, 32, 1, 4, total=296))]),
        "width-32-under-16": ico([(16, 16, 1, 4, bmp(32, 64, 1, 4))]),
        "width-200-under-16": ico([(16, 16, 1, 4, bmp(200, 4, 1, 4))]),
        "width-48-too-long": ico([(16, 16, 1, 4, bmp(48, 96, 1, 4, total=296))]),
        "bitcount-0": ico([(16, 16, 0, 0, bmp(16, 32, 0, 0, total=296))]),
        "bitcount-0-header-8": ico([(32, 32, 0, 0, bmp(32, 64, 1, 8))]),
        "bitcount-1": ico([(16, 16, 1, 1, bmp(16, 32, 1, 1))]),
        "bitcount-1-under-4": ico([(16, 16, 1, 4, bmp(16, 32, 1, 1))]),
        "bitcount-16-under-32": ico([(16, 16, 1, 32, bmp(16, 32, 1, 16))]),
        "bitcount-24-under-32": ico([(16, 16, 1, 32, bmp(16, 32, 1, 24))]),
        "bitcount-64-under-32": ico([(16, 16, 1, 32, bmp(16, 32, 1, 64))]),
        "bitcount-64": ico([(16, 16, 1, 64, bmp(16, 32, 1, 64))]),
        "planes-2-bitcount-2": ico([(16, 16, 2, 2, bmp(16, 32, 2, 2))]),
        "planes-3-bitcount-1-under-4": ico([(16, 16, 1, 4, bmp(16, 32, 3, 1))]),
        "planes-65535-bitcount-65535": ico([(16, 16, 1, 4, bmp(1, 2, 65535, 65535, total=296))]),
        "truncated-colour": ico([(16, 16, 1, 4, block16[:200])]),
        "truncated-mask": ico([(16, 16, 1, 4, block16[:295])]),
        "truncated-header": ico([(16, 16, 1, 4, block16[:20])]),
        "truncated-file": ico([(16, 16, 1, 4, block16)])[:250],
        "bisize-huge": ico([(16, 16, 1, 4, bmp(16, 32, 1, 4, bi_size=0xFFFFFFFF, total=296))]),
        "bisize-12": ico([(16, 16, 1, 4, bmp(16, 32, 1, 4, bi_size=12, total=296))]),
        "bisize-44": ico([(16, 16, 1, 4, bmp(16, 32, 1, 4, bi_size=44))]),
        "bitmap-256-header-16": ico([(0, 0, 1, 32, bmp(16, 32, 1, 32))]),
        "type-2-then-bad": ico([(16, 16, 1, 4, block16), (32, 32, 1, 4, block16[:100])], kind=2),
        "png": ico([(0, 0, 1, 32, stream)]),
        "png-depth-0": ico([(0, 0, 0, 0, stream)]),
        "png-depth-8": ico([(0, 0, 1, 8, stream)]),
        "png-in-16-entry": ico([(16, 16, 1, 32, stream)]),
        "png-bad-crc": ico([(0, 0, 1, 32, bytes(bad_crc))]),
        "png-truncated-idat": ico([(0, 0, 1, 32, stream[:idat + 20])]),
        "png-ihdr-65535": ico([(0, 0, 1, 32, with_ihdr(stream, 65535, 65535))]),
        "png-ihdr-469762080": ico([(0, 0, 1, 32, with_ihdr(stream, 469762080, 256))]),
        "png-rgb": ico([(0, 0, 1, 32, png(256, 256, 2))]),
        "png-garbage-idat": ico([(0, 0, 1, 32, with_garbage_idat(stream))]),
    }


def main():
    for name, data in seeds().items():
        with open(os.path.join(HERE, "hostile-" + name + ".ico"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
