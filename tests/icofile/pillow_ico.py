# Pillow's side of the .ico interoperability tests (run with /usr/bin/python3).
#
# extract FILE DIR          prints "WxH BPP" for each directory entry as Pillow reads it and writes
#                           what Pillow decodes of the I-th entry to DIR/entry-I.png.
# save FILE bmp|png PNG...  saves the PNGs (largest first) as one .ico with their sizes.
# default FILE MODE PNG     converts the PNG to MODE and saves it as Pillow does by default: PNG
#                           entries of 16 to 256 px in that mode.
# palette DIR               writes DIR/p16.png, p32.png, p48.png: opaque 8-bit palette images.
# sources DIR               writes DIR/a16.png, a32.png, a48.png, a256.png: RGBA images with
#                           transparent, opaque and translucent pixels.
import sys

from PIL import Image, IcoImagePlugin


def field(entry, name):
    """An entry's field: Pillow 9 keeps entries as dicts, Pillow 11 as named tuples."""
    return entry[name] if isinstance(entry, dict) else getattr(entry, name)


def extract(path, folder):
    with open(path, "rb") as f:
        data = f.read()
        f.seek(0)
        ico = IcoImagePlugin.IcoFile(f)
        # Pillow sorts its entries by area and depth; match them to the directory by offset.
        for i in range(int.from_bytes(data[4:6], "little")):
            offset = int.from_bytes(data[18 + 16 * i:22 + 16 * i], "little")
            n, e = next((n, e) for n, e in enumerate(ico.entry) if field(e, "offset") == offset)
            print(f'{field(e, "width")}x{field(e, "height")} {field(e, "bpp")}')
            ico.frame(n).convert("RGBA").save(f"{folder}/entry-{i}.png")


def palette(folder):
    for s in (16, 32, 48):
        im = Image.new("P", (s, s))
        im.putpalette([(i * v) % 256 for i in range(256) for v in (3, 5, 11)])
        im.putdata([(x * 7 + y * 13 + s) % 256 for y in range(s) for x in range(s)])
        im.save(f"{folder}/p{s}.png")


def sources(folder):
    alpha = lambda x, y: 0 if (x + 3 * y) % 11 == 0 else 255 if (x + y) % 4 == 0 else 30 + (x * 5 + y * 3) % 200
    for s in (16, 32, 48, 256):
        im = Image.new("RGBA", (s, s))
        im.putdata([((x * 9 + s) % 256, y * 7 % 256, (x * y + 3) % 256, alpha(x, y)) for y in range(s) for x in range(s)])
        im.save(f"{folder}/a{s}.png")


def save(path, fmt, *sources):
    images = sorted((Image.open(p) for p in sources), key=lambda im: -im.size[0])
    images[0].save(path, sizes=[im.size for im in images], append_images=images[1:], bitmap_format=fmt)


def default(path, mode, source):
    Image.open(source).convert(mode).save(path)


globals()[sys.argv[1]](*sys.argv[2:])
