#!/usr/bin/env python3
"""Build the tray icons: pixel maps where an image is drawn by hand, the drawing of
icon_drawing.py at every other tray size, and a variant of each for a dark taskbar.

An image drawn by hand is one text file, res/icons/icon_<id>_<w>x<h>.txt:

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
transparent pixels and nowhere else, which every Windows reads, XP too; the tray pictures
above 16x16 are PNG-compressed (indexed colour) wherever that is smaller, which Windows
reads from Vista on.

With --groups, every group gets an image at each tray size (--sizes, by default 16, 20,
24, 28 and 32) that no map gives, drawn by icon_drawing.py. With --dark-offset N, group G
also gets icon_<G+N>.ico, its tray sizes for a dark taskbar: black drawn white, all else
the same. Only Windows 10 and later show that variant, so its images are PNG-compressed
(indexed colour) wherever that is smaller.

Usage:
    icongen.py -o OUTDIR MAP...             write OUTDIR/icon_<id>.ico for every group
    icongen.py --sheet FILE.png MAP...      also (or only) draw the contact sheet
    icongen.py --bars FILE.png MAP...       also (or only) draw the set on light and dark
                                            taskbars at 100 and 200 %
    --groups 1,10,...                       fail unless the maps make exactly these groups;
                                            draw the tray sizes that have no map
    --sizes 16,20,...                       the tray sizes (to measure further ones)
    --dark-offset N                         the dark variants' group ids are N higher

Python 3 standard library only.
"""

import argparse
import os
import re
import struct
import sys
import zlib

import icon_drawing

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


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_image(image):
    """The image as a PNG of indexed colour with the fewest bits per pixel that hold its
    colours; transparent pixels take index 0, which tRNS makes fully transparent."""
    w, h = image.width, image.height
    colours = sorted({rgb for rgb in image.pixels if rgb is not TRANSPARENT})
    palette = ([TRANSPARENT] if TRANSPARENT in image.pixels else []) + colours
    depth = next(d for d in (1, 2, 4, 8) if len(palette) <= 1 << d)
    index = {rgb: i for i, rgb in enumerate(palette)}
    raw = bytearray()
    for y in range(h):
        raw.append(0)  # filter type None: the rows are too short for the others to pay
        bits = count = 0
        for x in range(w):
            bits = bits << depth | index[image.at(x, y)]
            count += depth
            if count == 8:
                raw.append(bits)
                bits = count = 0
        if count:
            raw.append(bits << (8 - count))
    plte = b"".join(struct.pack(">I", rgb or 0)[1:] for rgb in palette)
    trns = png_chunk(b"tRNS", b"\x00") if palette[0] is TRANSPARENT else b""
    return (b"\x89PNG\r\n\x1a\n" +
            png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, 3, 0, 0, 0)) +
            png_chunk(b"PLTE", plte) + trns + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            png_chunk(b"IEND", b""))


def tray_picture_above_16(image):
    """Windows XP reads no PNG image: the 16x16 images, which it shows at 100 %, and the
    program's own icon (group 1), which Explorer shows at any size, stay BMP everywhere. At
    another scale XP gets the 16x16 picture, as it always did."""
    return image.group != 1 and image.width > 16


def ico_file(images, png=lambda im: False):
    """One .ico holding the given images, smallest first; each image for which png(image) is
    true is stored PNG-compressed where that is smaller. The directory describes every image as
    a 16-colour one, so that Windows picks among a group's images by size alone."""
    images = sorted(images, key=lambda im: (im.width, im.height))
    bodies = []
    for im in images:
        body = bmp_image(im)
        if png(im):
            compressed = png_image(im)
            body = compressed if len(compressed) < len(body) else body
        bodies.append(body)
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for im, body in zip(images, bodies):
        out += struct.pack("<BBBBHHII", im.width % 256, im.height % 256, 16, 0, 1, 4,
                           len(body), offset)
        offset += len(body)
    for body in bodies:
        out += body
    return bytes(out)


# What is black on a light taskbar is white on a dark one: 16.1:1 against the #202020 of a
# dark Windows taskbar, where black has 1.3:1.
DARK_INK = 0xFFFFFF


def dark_variant(image):
    return Image(image.path, image.group, image.width, image.height,
                 [DARK_INK if rgb == 0x000000 else rgb for rgb in image.pixels])


def group_images(images):
    groups = {}
    for im in images:
        for other in groups.get(im.group, []):
            if (other.width, other.height) == (im.width, im.height):
                raise MapError(f"{im.path}: group {im.group} already has a {im.width}x"
                               f"{im.height} image ({other.path})")
        groups.setdefault(im.group, []).append(im)
    return groups


def parse_numbers(option, text):
    try:
        return [int(g) for g in text.split(",") if g.strip()]
    except ValueError:
        raise MapError(f"{option}: not a list of numbers: '{text}'") from None


def check_groups(groups, wanted):
    extra = sorted(set(groups) - set(wanted))
    if extra:
        raise MapError(f"pixel maps for unexpected icon group(s) {', '.join(map(str, extra))}")


def draw_missing(groups, wanted, sizes):
    """Gives every wanted group an image at each of sizes that no map gives, drawn."""
    for group in wanted:
        have = {im.width for im in groups.get(group, [])}
        for size in sizes:
            if size in have:
                continue
            try:
                pixels = icon_drawing.draw(group, size)
            except (KeyError, ValueError):
                raise MapError(f"icon group {group} has neither a pixel map nor a drawing at"
                               f" {size}x{size}") from None
            groups.setdefault(group, []).append(
                Image(f"(icon_drawing.py: {group} at {size}x{size})", group, size, size, pixels))


def dark_groups(groups, sizes, offset):
    """The dark taskbar's variants of the tray sizes, under their own group ids."""
    return {group + offset: [dark_variant(im) for im in images if im.width in sizes]
            for group, images in groups.items()}


def write_file(path, data):
    """Writes through a temporary file, so that a failed run leaves no half-written icon."""
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


# ---------------------------------------------------------------------------------------
# Pictures of the set: the contact sheet and the taskbars

SCALE = 4
GAP = 16
MARGIN = 24
LABEL_SCALE = 3
BACKGROUND = (0xFF, 0xFF, 0xFF)
CHECKER = ((0xFF, 0xFF, 0xFF), (0xDD, 0xDD, 0xDD))
LABEL_COLOUR = (0x30, 0x30, 0x30)
# The notification area of a light and of a dark Windows taskbar.
LIGHT_BAR = (0xF0, 0xF0, 0xF0)
DARK_BAR = (0x20, 0x20, 0x20)
# The order in which README's table explains the pictures.
BAR_ORDER = (101, 102, 100, 10, 11, 12, 13, 14, 15, 16, 17, 18, 111, 112, 113, 114, 1)

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
        """Indexed colour when the picture has at most 256 colours (it always has), else RGB."""
        colours = sorted({bytes(row[i:i + 3]) for row in self.rows for i in range(0, len(row), 3)})
        if len(colours) > 256:
            raw = b"".join(b"\x00" + bytes(row) for row in self.rows)
            header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
            palette = b""
        else:
            index = {colour: i for i, colour in enumerate(colours)}
            raw = b"".join(b"\x00" + bytes(index[bytes(row[i:i + 3])] for i in range(0, len(row), 3))
                           for row in self.rows)
            header = struct.pack(">IIBBBBB", self.width, self.height, 8, 3, 0, 0, 0)
            palette = png_chunk(b"PLTE", b"".join(colours))
        return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + palette +
                png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def text_width(text, scale):
    return (4 * len(text) - 1) * scale


def rgb_tuple(rgb):
    return (rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF)


def draw_image(canvas, x0, y0, image, scale, backdrop=None):
    """The image enlarged scale times, on backdrop, or on a checkerboard where transparent."""
    for y in range(image.height):
        for x in range(image.width):
            rgb = image.at(x, y)
            if rgb is not TRANSPARENT:
                colour = rgb_tuple(rgb)
            elif backdrop is None:
                colour = CHECKER[(x + y) % 2]
            else:
                colour = backdrop
            canvas.fill(x0 + x * scale, y0 + y * scale, scale, scale, colour)


def contact_sheet(groups, dark):
    """Every image enlarged SCALE times, one line per group in id order: its images by size,
    then its dark variants on a dark backdrop. The column heads give the sizes."""
    light_sizes = sorted({im.width for images in groups.values() for im in images})
    dark_sizes = sorted({im.width for images in dark.values() for im in images})
    label_width = text_width("000", LABEL_SCALE)
    columns = []  # (x, size, dark)
    x = MARGIN + label_width + GAP
    for sizes, is_dark in ((light_sizes, False), (dark_sizes, True)):
        for size in sizes:
            columns.append((x, size, is_dark))
            x += size * SCALE + GAP
        x += GAP
    head = 5 * LABEL_SCALE + GAP
    lines = [max(im.width for im in groups[g]) * SCALE + GAP for g in sorted(groups)]
    canvas = Canvas(x - 2 * GAP + MARGIN, MARGIN + head + sum(lines) - GAP + MARGIN, BACKGROUND)
    for cx, size, _ in columns:
        canvas.text(cx, MARGIN, str(size), LABEL_SCALE, LABEL_COLOUR)
    y = MARGIN + head
    for group, line in zip(sorted(groups), lines):
        canvas.text(MARGIN, y, str(group), LABEL_SCALE, LABEL_COLOUR)
        offset = min(dark) - min(groups) if dark else 0
        for cx, size, is_dark in columns:
            images = dark.get(group + offset, []) if is_dark else groups[group]
            for im in images:
                if im.width == size:
                    if is_dark:
                        canvas.fill(cx, y, size * SCALE, size * SCALE, DARK_BAR)
                    draw_image(canvas, cx, y, im, SCALE, DARK_BAR if is_dark else None)
        y += line
    return canvas.png()


def taskbars(groups, dark, small, large):
    """The tray pictures as a taskbar shows them, pixel for pixel: on a light bar at 100 %
    (the small images) and at 200 % (the large ones), then on a dark bar (the dark variants).
    Each bar is two and a half icons high, the icons half an icon apart."""
    offset = min(dark) - min(groups)
    order = [g for g in BAR_ORDER if g in groups] + [g for g in sorted(groups)
                                                     if g not in BAR_ORDER]
    bars = [(LIGHT_BAR, groups, small), (LIGHT_BAR, groups, large),
            (DARK_BAR, dark, small), (DARK_BAR, dark, large)]
    width = max(len(order) * size * 3 // 2 + size for _, _, size in bars)
    height = sum(size * 5 // 2 for _, _, size in bars)
    canvas = Canvas(width, height, BACKGROUND)
    y = 0
    for colour, source, size in bars:
        canvas.fill(0, y, width, size * 5 // 2, colour)
        x = size
        for group in order:
            key = group + offset if source is dark else group
            for im in source.get(key, []):
                if im.width == size:
                    draw_image(canvas, x, y + size * 3 // 4, im, 1, colour)
            x += size * 3 // 2
        y += size * 5 // 2
    return canvas.png()


def main(argv):
    parser = argparse.ArgumentParser(description="Build .ico files from text pixel maps and"
                                     " the drawings of icon_drawing.py.")
    parser.add_argument("-o", "--out-dir", help="write icon_<id>.ico files here")
    parser.add_argument("--sheet", help="write a contact sheet PNG of all images here")
    parser.add_argument("--bars", help="write the set on light and dark taskbars (PNG) here")
    parser.add_argument("--groups", help="comma-separated group ids the maps must make, no"
                        " more; the tray sizes that no map gives are drawn")
    parser.add_argument("--sizes", help="comma-separated tray sizes (default: "
                        + ",".join(map(str, icon_drawing.TRAY_SIZES)) + ")")
    parser.add_argument("--dark-offset", type=int, help="also write the dark taskbar's variants,"
                        " as groups this much higher")
    parser.add_argument("maps", nargs="*", help="pixel maps, icon_<id>_<w>x<h>.txt")
    args = parser.parse_args(argv)
    if not args.out_dir and not args.sheet and not args.bars:
        parser.error("nothing to do: give -o, --sheet and/or --bars")

    try:
        groups = group_images([parse_map(path) for path in args.maps])
        sizes = (parse_numbers("--sizes", args.sizes) if args.sizes
                 else list(icon_drawing.TRAY_SIZES))
        if args.groups is not None:
            wanted = parse_numbers("--groups", args.groups)
            check_groups(groups, wanted)
            draw_missing(groups, wanted, sizes)
        if not groups:
            raise MapError("no icon group: give pixel maps or --groups")
        dark = dark_groups(groups, sizes, args.dark_offset) if args.dark_offset else {}
        clash = sorted(set(dark) & set(groups))
        if clash:
            raise MapError(f"--dark-offset {args.dark_offset} makes group ids that the set"
                           f" already uses: {', '.join(map(str, clash))}")
    except MapError as e:
        print(f"icongen: error: {e}", file=sys.stderr)
        return 1

    if args.out_dir:
        os.makedirs(args.out_dir, exist_ok=True)
        for group, images in sorted(groups.items()):
            write_file(os.path.join(args.out_dir, f"icon_{group}.ico"),
                       ico_file(images, png=tray_picture_above_16))
        for group, images in sorted(dark.items()):
            write_file(os.path.join(args.out_dir, f"icon_{group}.ico"),
                       ico_file(images, png=lambda im: True))
    if args.sheet:
        write_file(args.sheet, contact_sheet(groups, dark))
    if args.bars:
        if not dark:
            print("icongen: error: --bars needs --dark-offset", file=sys.stderr)
            return 1
        write_file(args.bars, taskbars(groups, dark, min(sizes), max(sizes)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
