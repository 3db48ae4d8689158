#!/usr/bin/env python3
"""Build the tray icons from their text pixel maps.

Every image of every icon group is one text file, res/icons/icon_<id>_<w>x<h>.txt:

    # comment lines start with '#'
    colour . transparent
    colour K black
    colour c cyan
    pixels
    KKK.K.K.........
    ...                 (exactly h rows of exactly w characters)

The legend ("colour <char> <name>") gives each character a colour: one of the 16
names of the standard VGA palette below (some with aliases), "#rrggbb", or
"transparent". The images of one group id make one .ico file, icon_<id>.ico: BMP images
of 4 bits per pixel over a 16-entry palette, with an AND mask that is set on the
transparent pixels and nowhere else.

Usage:
    icongen.py -o OUTDIR MAP...             write OUTDIR/icon_<id>.ico for every group
    icongen.py --sheet FILE.png MAP...      also (or only) draw the contact sheet
    --groups 1,10,...                       fail unless the maps make exactly these groups

Python 3 standard library only.
"""

import argparse
import os
import re
import struct
import sys
import zlib

# The standard 16-colour palette in the order Windows uses for 4-bit bitmaps. Index 0 must
# stay black: transparent pixels are written as index 0 under a set AND mask, which leaves
# the screen unchanged.
VGA_PALETTE = [
    ("black", 0x000000),
    ("darkred", 0x800000),
    ("darkgreen", 0x008000),
    ("darkyellow", 0x808000),
    ("darkblue", 0x000080),
    ("darkmagenta", 0x800080),
    ("darkcyan", 0x008080),
    ("lightgrey", 0xC0C0C0),
    ("grey", 0x808080),
    ("red", 0xFF0000),
    ("green", 0x00FF00),
    ("yellow", 0xFFFF00),
    ("blue", 0x0000FF),
    ("magenta", 0xFF00FF),
    ("cyan", 0x00FFFF),
    ("white", 0xFFFFFF),
]

COLOUR_ALIASES = {
    "maroon": "darkred",
    "olive": "darkyellow",
    "navy": "darkblue",
    "purple": "darkmagenta",
    "teal": "darkcyan",
    "silver": "lightgrey",
    "lightgray": "lightgrey",
    "gray": "grey",
    "darkgrey": "grey",
    "darkgray": "grey",
    "lime": "green",
    "fuchsia": "magenta",
    "aqua": "cyan",
}

TRANSPARENT = None  # the legend value of a transparent character

MAP_NAME = re.compile(r"^icon_(\d+)_(\d+)x(\d+)\.txt$")


class MapError(Exception):
    """A pixel map that cannot be turned into an icon image."""


class Image:
    """One parsed pixel map: its group id, size, and a row-major list of RGB or None."""

    def __init__(self, path, group, width, height, pixels):
        self.path = path
        self.group = group
        self.width = width
        self.height = height
        self.pixels = pixels

    def at(self, x, y):
        return self.pixels[y * self.width + x]


def parse_colour(text):
    name = text.lower()
    if name == "transparent":
        return TRANSPARENT
    if re.fullmatch(r"#[0-9a-f]{6}", name):
        return int(name[1:], 16)
    name = COLOUR_ALIASES.get(name, name)
    for known, rgb in VGA_PALETTE:
        if known == name:
            return rgb
    raise ValueError(text)


def parse_map(path):
    """Reads one pixel map; raises MapError naming the file and line on any fault."""
    base = os.path.basename(path)
    match = MAP_NAME.match(base)
    if not match:
        raise MapError(f"{path}: file name must be icon_<id>_<width>x<height>.txt")
    group, width, height = (int(g) for g in match.groups())
    if not (1 <= width <= 256 and 1 <= height <= 256):
        raise MapError(f"{path}: image size {width}x{height} is outside 1..256")

    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except (OSError, UnicodeDecodeError) as e:
        raise MapError(f"{path}: cannot read: {e}") from None

    legend = {}
    rows = []  # (line number, text)
    in_pixels = False
    for number, line in enumerate(lines, 1):
        text = line.rstrip()
        where = f"{path}:{number}"
        if in_pixels:
            if text == "" or text.startswith("#"):
                continue
            rows.append((number, text))
            continue
        if text.strip() == "" or text.lstrip().startswith("#"):
            continue
        words = text.split()
        if words == ["pixels"]:
            in_pixels = True
        elif words[0] == "colour" and len(words) == 3 and len(words[1]) == 1:
            char = words[1]
            if char == "#":
                raise MapError(f"{where}: '#' cannot stand for a colour, it starts a comment")
            if char in legend:
                raise MapError(f"{where}: character '{char}' is given a colour twice")
            try:
                legend[char] = parse_colour(words[2])
            except ValueError:
                raise MapError(f"{where}: unknown colour '{words[2]}' (use a VGA colour name,"
                               " #rrggbb or transparent)") from None
        else:
            raise MapError(f"{where}: expected 'colour <char> <colour>' or 'pixels',"
                           f" found '{text.strip()}'")

    if not in_pixels:
        raise MapError(f"{path}: no 'pixels' line")
    if len(rows) != height:
        raise MapError(f"{path}: {len(rows)} pixel rows, the file name says {height}")

    pixels = []
    for y, (number, text) in enumerate(rows):
        if len(text) != width:
            raise MapError(f"{path}:{number}: row {y} is {len(text)} pixels wide,"
                           f" the file name says {width}")
        for x, char in enumerate(text):
            if char not in legend:
                raise MapError(f"{path}:{number}: unknown character '{char}' at row {y},"
                               f" column {x}: it is not in the legend")
            pixels.append(legend[char])

    image = Image(path, group, width, height, pixels)
    palette_for(image)  # fails here already when the colours do not fit
    return image


def palette_for(image):
    """The image's 16-entry palette: the VGA palette, where any colour outside it takes the
    slot of a VGA colour that this image does not use (never slot 0)."""
    palette = [rgb for _, rgb in VGA_PALETTE]
    used = {rgb for rgb in image.pixels if rgb is not TRANSPARENT}
    extra = sorted(used - set(palette))
    free = [i for i in range(len(palette) - 1, 0, -1) if palette[i] not in used]
    if len(extra) > len(free):
        raise MapError(f"{image.path}: uses {len(used)} colours, more than a 16-colour"
                       " image can hold")
    for rgb, slot in zip(extra, free):
        palette[slot] = rgb
    return palette


def bmp_image(image):
    """The icon image as a BITMAPINFOHEADER, palette, XOR bitmap and AND mask."""
    w, h = image.width, image.height
    palette = palette_for(image)
    index = {rgb: i for i, rgb in reversed(list(enumerate(palette)))}
    xor_stride = (w * 4 + 31) // 32 * 4
    and_stride = (w + 31) // 32 * 4

    xor_bits = bytearray()
    and_bits = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up rows
        row = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x in range(w):
            rgb = image.at(x, y)
            if rgb is TRANSPARENT:
                value = 0
                mask[x // 8] |= 0x80 >> (x % 8)
            else:
                value = index[rgb]
            row[x // 2] |= value << (4 if x % 2 == 0 else 0)
        xor_bits += row
        and_bits += mask

    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    colours = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 0)
                       for rgb in palette)
    return header + colours + bytes(xor_bits) + bytes(and_bits)


def ico_file(images):
    """One .ico holding the given images, smallest first."""
    images = sorted(images, key=lambda im: (im.width, im.height))
    bodies = [bmp_image(im) for im in images]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for im, body in zip(images, bodies):
        out += struct.pack("<BBBBHHII", im.width % 256, im.height % 256, 16, 0, 1, 4,
                           len(body), offset)
        offset += len(body)
    for body in bodies:
        out += body
    return bytes(out)


def group_images(images):
    groups = {}
    for im in images:
        for other in groups.get(im.group, []):
            if (other.width, other.height) == (im.width, im.height):
                raise MapError(f"{im.path}: group {im.group} already has a {im.width}x"
                               f"{im.height} image ({other.path})")
        groups.setdefault(im.group, []).append(im)
    return groups


def check_groups(groups, wanted_text):
    try:
        wanted = {int(g) for g in wanted_text.split(",") if g.strip()}
    except ValueError:
        raise MapError(f"--groups: not a list of numbers: '{wanted_text}'") from None
    missing = sorted(wanted - set(groups))
    extra = sorted(set(groups) - wanted)
    if missing:
        raise MapError(f"no pixel map for icon group(s) {', '.join(map(str, missing))}")
    if extra:
        raise MapError(f"pixel maps for unexpected icon group(s) {', '.join(map(str, extra))}")


def write_file(path, data):
    """Writes through a temporary file, so that a failed run leaves no half-written icon."""
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


# ---------------------------------------------------------------------------------------
# Contact sheet

SCALE = 8
GAP = 24
MARGIN = 24
LABEL_SCALE = 3
BACKGROUND = (0xFF, 0xFF, 0xFF)
CHECKER = ((0xFF, 0xFF, 0xFF), (0xDD, 0xDD, 0xDD))
LABEL_COLOUR = (0x30, 0x30, 0x30)
# Two backdrops like the notification area's light and dark themes, for a 2x preview.
BACKDROPS = ((0xF0, 0xF0, 0xF0), (0x20, 0x20, 0x20))
PREVIEW_SCALE = 2
PER_ROW = 8

# 3x5 glyphs for the labels under the icons.
GLYPHS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["##.", "..#", ".#.", "#..", "###"],
    "3": ["##.", "..#", ".#.", "..#", "##."],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    "5": ["###", "#..", "##.", "..#", "##."],
    "6": [".##", "#..", "###", "#.#", "###"],
    "7": ["###", "..#", ".#.", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"],
    "9": ["###", "#.#", "###", "..#", "##."],
    "x": ["...", "#.#", ".#.", "#.#", "..."],
    " ": ["...", "...", "...", "...", "..."],
}


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.rows = [bytearray(bytes(colour) * width) for _ in range(height)]

    def fill(self, x, y, w, h, colour):
        span = bytes(colour) * w
        for row in self.rows[y:y + h]:
            row[3 * x:3 * (x + w)] = span

    def text(self, x, y, text, scale, colour):
        for char in text:
            glyph = GLYPHS[char]
            for gy, line in enumerate(glyph):
                for gx, cell in enumerate(line):
                    if cell == "#":
                        self.fill(x + gx * scale, y + gy * scale, scale, scale, colour)
            x += 4 * scale

    def png(self):
        raw = b"".join(b"\x00" + bytes(row) for row in self.rows)

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

        return (b"\x89PNG\r\n\x1a\n" +
                chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def text_width(text, scale):
    return (4 * len(text) - 1) * scale


def rgb_tuple(rgb):
    return (rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF)


def cell_size(image):
    w = max(image.width * SCALE, text_width("000 00x00", LABEL_SCALE))
    h = (image.height * SCALE + 8 + 5 * LABEL_SCALE + 8 +
         image.height * PREVIEW_SCALE + 2 * 4)
    return w, h


def draw_cell(canvas, x0, y0, image, label):
    for y in range(image.height):
        for x in range(image.width):
            rgb = image.at(x, y)
            colour = CHECKER[(x + y) % 2] if rgb is TRANSPARENT else rgb_tuple(rgb)
            canvas.fill(x0 + x * SCALE, y0 + y * SCALE, SCALE, SCALE, colour)
    y = y0 + image.height * SCALE + 8
    canvas.text(x0, y, label, LABEL_SCALE, LABEL_COLOUR)
    y += 5 * LABEL_SCALE + 8
    # The icon at twice its size on a light and a dark backdrop, as the tray would show it.
    px = x0
    size = image.width * PREVIEW_SCALE
    for backdrop in BACKDROPS:
        canvas.fill(px, y, size + 8, image.height * PREVIEW_SCALE + 8, backdrop)
        for iy in range(image.height):
            for ix in range(image.width):
                rgb = image.at(ix, iy)
                if rgb is not TRANSPARENT:
                    canvas.fill(px + 4 + ix * PREVIEW_SCALE, y + 4 + iy * PREVIEW_SCALE,
                                PREVIEW_SCALE, PREVIEW_SCALE, rgb_tuple(rgb))
        px += size + 8 + 8


def contact_sheet(groups):
    """All images enlarged on one sheet: the first group's images (largest first) on the
    first line, then every group's smallest image in id order, PER_ROW to a line."""
    lines = []
    first, *rest = sorted(groups)
    big = sorted(groups[first], key=lambda im: -im.width)
    lines.append([(im, f"{first} {im.width}x{im.height}") for im in big])
    small = [(min(groups[g], key=lambda im: im.width), str(g)) for g in rest]
    for i in range(0, len(small), PER_ROW):
        lines.append(small[i:i + PER_ROW])

    def line_extent(line):
        sizes = [cell_size(im) for im, _ in line]
        return sum(w for w, _ in sizes) + GAP * (len(line) - 1), max(h for _, h in sizes)

    extents = [line_extent(line) for line in lines]
    width = max(w for w, _ in extents) + 2 * MARGIN
    height = sum(h for _, h in extents) + GAP * (len(lines) - 1) + 2 * MARGIN
    canvas = Canvas(width, height, BACKGROUND)
    y = MARGIN
    for line, (_, line_height) in zip(lines, extents):
        x = MARGIN
        for im, label in line:
            draw_cell(canvas, x, y, im, label)
            x += cell_size(im)[0] + GAP
        y += line_height + GAP
    return canvas.png()


def main(argv):
    parser = argparse.ArgumentParser(description="Build .ico files from text pixel maps.")
    parser.add_argument("-o", "--out-dir", help="write icon_<id>.ico files here")
    parser.add_argument("--sheet", help="write a contact sheet PNG of all images here")
    parser.add_argument("--groups", help="comma-separated group ids the maps must make, no more"
                        " and no fewer")
    parser.add_argument("maps", nargs="+", help="pixel maps, icon_<id>_<w>x<h>.txt")
    args = parser.parse_args(argv)
    if not args.out_dir and not args.sheet:
        parser.error("nothing to do: give -o and/or --sheet")

    try:
        groups = group_images([parse_map(path) for path in args.maps])
        if args.groups is not None:
            check_groups(groups, args.groups)
    except MapError as e:
        print(f"icongen: error: {e}", file=sys.stderr)
        return 1

    if args.out_dir:
        os.makedirs(args.out_dir, exist_ok=True)
        for group, images in sorted(groups.items()):
            write_file(os.path.join(args.out_dir, f"icon_{group}.ico"), ico_file(images))
    if args.sheet:
        write_file(args.sheet, contact_sheet(groups))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
