#!/usr/bin/python3
"""Writes ImageResourceData.cpp: the plug-in's cursors and bitmaps as resource bytes.

Cursors: hot spot x, y (16-bit each), then a monochrome cursor DIB: the XOR bits, then the
AND bits, rows bottom-up. Bitmaps: a BITMAPINFOHEADER and bottom-up 24-bit pixels, as a
module's bitmap.

Run from anywhere with /usr/bin/python3 (Pillow); the output is committed, so the build does
not need Python:  /usr/bin/python3 src/resources/MakeImageResources.py
"""

import os
import struct

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "ImageResourceData.cpp")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# '#' black, 'o' white, anything else transparent.
HAND = """
................................
................................
................................
................................
................................
................................
................................
................................
...........###..................
..........#ooo#.................
..........#ooo#.................
..........#ooo#.................
..........#ooo#.................
..........#ooo####..............
..........#ooo#ooo####..........
..........#ooo#ooo#ooo#.........
..........#ooo#ooo#ooo###.......
..........#ooo#ooo#ooo#oo#......
....##....#ooo#ooo#ooo#oo#......
...#oo#...#ooo#ooo#ooo#oo#......
...#ooo#..#ooo#ooo#ooo#oo#......
....#ooo#.#oooooooooooooo#......
....#ooooo#oooooooooooooo#......
.....#ooooooooooooooooooo#......
......#oooooooooooooooooo#......
.......#ooooooooooooooooo#......
........#oooooooooooooooo#......
........#ooooooooooooooo#.......
.........#oooooooooooooo#.......
.........#oooooooooooooo#.......
.........################.......
................................
"""
HAND_HOT_SPOT = (12, 8)

MOVE_HOT_SPOT = (16, 15)


def art_rows(art):
    rows = art.strip("\n").split("\n")
    assert len(rows) == 32 and all(len(row) == 32 for row in rows), "cursor art must be 32 x 32"
    assert all(set(row) <= set("#o.") for row in rows), "cursor art uses '#', 'o' and '.' only"
    return rows


def move_art():
    """Four arrows from the hot spot: a black cross with arrow heads, outlined in white."""
    cx, cy = MOVE_HOT_SPOT
    reach, head = 10, 4
    black = set()
    for d in range(-reach, reach + 1):
        black.add((cx + d, cy))
        black.add((cx, cy + d))
    for k in range(head):
        for s in range(-k, k + 1):
            black.add((cx + s, cy - reach + k))  # up
            black.add((cx + s, cy + reach - k))  # down
            black.add((cx - reach + k, cy + s))  # left
            black.add((cx + reach - k, cy + s))  # right
    white = set()
    for x, y in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (x + dx, y + dy) not in black:
                    white.add((x + dx, y + dy))
    rows = []
    for y in range(32):
        rows.append("".join("#" if (x, y) in black else "o" if (x, y) in white else "."
                            for x in range(32)))
    return "\n".join(rows)


def info_header(width, height, bit_count, image_bytes, colors_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, image_bytes, 0, 0,
                       colors_used, 0)


def cursor_bytes(art, hot_spot):
    rows = art_rows(art)
    xor_bits, and_bits = bytearray(), bytearray()
    for row in reversed(rows):  # bottom-up
        xor_word = and_word = 0
        for x, cell in enumerate(row):
            bit = 1 << (31 - x)
            if cell == "o":
                xor_word |= bit
            elif cell == ".":
                and_word |= bit
        xor_bits += struct.pack(">I", xor_word)
        and_bits += struct.pack(">I", and_word)
    header = info_header(32, 64, 1, len(xor_bits) + len(and_bits), 2)
    colors = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    return struct.pack("<HH", *hot_spot) + header + colors + bytes(xor_bits) + bytes(and_bits)


def bitmap_bytes(image):
    image = image.convert("RGB")
    width, height = image.size
    row_bytes = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = image.getpixel((x, y))
            row += bytes([b, g, r])
        pixels += row + bytes(row_bytes - len(row))
    return info_header(width, height, 24, len(pixels)) + bytes(pixels)


def font(name, size):
    path = os.path.join(FONT_DIR, name)
    if os.path.exists(path):
        return ImageFont.truetype(path, size)
    return ImageFont.load_default(size)


def blend(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def logo():
    width, height = 285, 66
    image = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(image)
    # A light background that fades a little towards the bottom.
    top, bottom = (252, 253, 255), (226, 233, 243)
    for y in range(height):
        draw.line([(0, y), (width - 1, y)], fill=blend(top, bottom, y / (height - 1)))

    title = font("DejaVuSans-Bold.ttf", 36)
    subtitle = font("DejaVuSans.ttf", 11)
    # The squares, a gap and the title, centred as one group.
    gap = 14
    group = 48 + gap + draw.textlength("Pictaro", font=title)
    left, base = round((width - group) / 2), 57
    text_left = left + 48 + gap

    # Icon sizes 48, 32 and 16 nested in one corner, like the sizes an icon file holds.
    shades = [((190, 212, 238), (96, 138, 196)), ((132, 174, 226), (56, 102, 170)),
              ((52, 104, 180), (28, 62, 120))]
    for size, (fill, edge) in zip((48, 32, 16), shades):
        draw.rectangle([left, base - size, left + size - 1, base - 1], fill=fill, outline=edge)
    # The smallest square's pixel grid, as when editing an icon.
    for i in range(4, 16, 4):
        draw.line([(left + i, base - 15), (left + i, base - 2)], fill=(74, 124, 196))
        draw.line([(left + 1, base - 16 + i), (left + 14, base - 16 + i)], fill=(74, 124, 196))

    draw.text((text_left, 31), "Pictaro", font=title, fill=(30, 48, 82), anchor="ls")
    draw.text((text_left + 2, 49), "icons in every size", font=subtitle, fill=(92, 108, 136),
              anchor="ls")
    return image


def bullet():
    """A dark dot on white, its corners softened so that it reads as round."""
    dot, paper = (30, 48, 82), (255, 255, 255)
    image = Image.new("RGB", (4, 4), dot)
    for corner in ((0, 0), (3, 0), (0, 3), (3, 3)):
        image.putpixel(corner, blend(dot, paper, 0.7))
    return image


def cpp_array(name, data):
    lines = []
    for i in range(0, len(data), 24):
        lines.append("    " + ",".join(f"0x{b:02X}" for b in data[i:i + 24]) + ",")
    return (f"constexpr std::array<std::uint8_t, {len(data)}> {name} = {{\n"
            + "\n".join(lines) + "\n};\n")


def main():
    resources = [
        ("HandCursorResource", "kHandCursor", cursor_bytes(HAND, HAND_HOT_SPOT),
         '"CURSOR" 1011, the pointing hand'),
        ("MoveCursorResource", "kMoveCursor", cursor_bytes(move_art(), MOVE_HOT_SPOT),
         '"CURSOR" 1001, the four-way arrows'),
        ("LogoBitmapResource", "kLogoBitmap", bitmap_bytes(logo()),
         '"BITMAP" 1039, the product logo'),
        ("BulletBitmapResource", "kBulletBitmap", bitmap_bytes(bullet()),
         '"BITMAP" 1021, the bullet'),
    ]
    out = ["// Generated by MakeImageResources.py; edit that script and run it again instead.\n"
           "// The cursors and bitmaps in module resource format.\n"
           "#include <array>\n#include <cstdint>\n#include <span>\n\n"
           '#include "resources/CompiledResources.h"\n\n'
           "namespace pictaro::resources {\n\nnamespace {\n\n// clang-format off\n"]
    for _, array, data, what in resources:
        out.append(f"// {what}.\n" + cpp_array(array, data) + "\n")
    out.append("// clang-format on\n\n}  // namespace\n\n// Listed by the resource registry.\n")
    for function, array, _, _ in resources:
        out.append(f"std::span<const std::uint8_t> {function}() {{\n  return {array};\n}}\n\n")
    out.append("}  // namespace pictaro::resources\n")
    with open(OUTPUT, "w", encoding="ascii") as f:
        f.write("".join(out))


if __name__ == "__main__":
    main()
