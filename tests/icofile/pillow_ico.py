"""Pillow's side of the .ico interoperability tests (run with /usr/bin/python3).

extract FILE DIR     prints the sizes Pillow reports, one "WxH" a line; writes DIR/entry-I.png for
                     the I-th directory entry and DIR/size-S.png for what Pillow gives for size S.
palette DIR          writes DIR/p16.png, p32.png, p48.png: opaque 8-bit palette images.
save FILE bmp|png PNG...  saves the PNGs (largest first) as one .ico with their sizes.
default FILE MODE PNG     converts the PNG to MODE and saves it as Pillow does by default: PNG
                          entries of 16 to 256 px in that mode.
"""
import struct
import sys

from PIL import Image, IcoImagePlugin


def extract(path, folder):
    with open(path, "rb") as f:
        data = f.read()
        count = struct.unpack_from("<H", data, 4)[0]
        offsets = [struct.unpack_from("<I", data, 6 + 16 * i + 12)[0] for i in range(count)]
        # Pillow sorts its entries by area and depth; match them to the directory by offset.
        f.seek(0)
        ico = IcoImagePlugin.IcoFile(f)
        for i, offset in enumerate(offsets):
            idx = next(n for n, e in enumerate(ico.entry) if e["offset"] == offset)
            ico.frame(idx).convert("RGBA").save(f"{folder}/entry-{i}.png")
    with Image.open(path) as im:
        for w, h in sorted(im.info["sizes"]):
            print(f"{w}x{h}")
        for size in sorted(im.info["sizes"]):
            im.size = size
            im.load()
            im.convert("RGBA").save(f"{folder}/size-{size[0]}.png")


def palette(folder):
    for s in (16, 32, 48):
        im = Image.new("P", (s, s))
        im.putpalette([(i * v) % 256 for i in range(256) for v in (3, 5, 11)])
        im.putdata([(x * 7 + y * 13 + s) % 256 for y in range(s) for x in range(s)])
        im.save(f"{folder}/p{s}.png")


def save(path, fmt, sources):
    images = sorted((Image.open(p) for p in sources), key=lambda im: -im.size[0])
    images[0].save(path, sizes=[im.size for im in images], append_images=images[1:],
                   bitmap_format=fmt)


if __name__ == "__main__":
    command = sys.argv[1]
    if command == "extract":
        extract(sys.argv[2], sys.argv[3])
    elif command == "palette":
        palette(sys.argv[2])
    elif command == "default":
        with Image.open(sys.argv[4]) as im:
            im.convert(sys.argv[3]).save(sys.argv[2])
    else:
        save(sys.argv[2], sys.argv[3], sys.argv[4:])
