#!/usr/bin/env python3
"""Find where a tray icon is drawn in a screenshot, pixel for pixel.

    icon_match.py find SHOT ICO [--at X,Y]   print "X Y" of the first place where every opaque
                                             pixel of ICO's 16x16 image equals the screenshot
                                             (only X,Y with --at); exit 1 when there is none
    icon_match.py which SHOT ICO...          print "ID X Y" for every icon found in SHOT (ID
                                             from the file name icon_<ID>.ico); exit 1 if none
    --size N (with either)                   ICO's NxN image instead of the 16x16 one

Transparent pixels of the icon are not compared: the tray's background shows through them.
An icon all in the screenshot's most common colour is never found: it could not be seen
there (a white picture for a dark taskbar on a white tray), yet would match all over the tray.
Images are read through ImageMagick's "convert FILE -depth 8 pam:-"; Python standard library only.
"""

import collections
import re
import subprocess
import sys

ICON_SIZE = 16


class Image:
    def __init__(self, width, height, depth, pixels):
        self.width = width
        self.height = height
        self.depth = depth  # 3 (RGB) or 4 (RGBA)
        self.pixels = pixels  # bytes, row by row

    def rgb(self, x, y):
        at = (y * self.width + x) * self.depth
        return self.pixels[at : at + 3]

    def opaque(self, x, y):
        return self.depth < 4 or self.pixels[(y * self.width + x) * self.depth + 3] >= 128


def parse_pam_stream(data):
    """Every image of a PAM stream (an .ico gives one per size)."""
    images = []
    at = 0
    while at < len(data):
        end = data.index(b"ENDHDR\n", at)
        header = {}
        for line in data[at:end].decode("ascii").splitlines()[1:]:
            if line and not line.startswith("#"):
                key, _, value = line.partition(" ")
                header[key] = value.strip()
        width, height = int(header["WIDTH"]), int(header["HEIGHT"])
        depth, maxval = int(header["DEPTH"]), int(header["MAXVAL"])
        if maxval != 255:
            raise ValueError("only 8-bit samples are handled, got MAXVAL %d" % maxval)
        start = end + len(b"ENDHDR\n")
        size = width * height * depth
        pixels = data[start : start + size]
        if depth == 2 or depth == 1:  # grey(+alpha): widen to RGB(A)
            expanded = bytearray()
            for i in range(0, size, depth):
                expanded += bytes([pixels[i]] * 3) + pixels[i + 1 : i + depth]
            pixels, depth = bytes(expanded), depth + 2
        images.append(Image(width, height, depth, pixels))
        at = start + size
    return images


def read_images(*paths):
    """Every image of the files, in order, through one convert."""
    result = subprocess.run(["convert", *paths, "-depth", "8", "pam:-"], capture_output=True, check=False)
    if result.returncode != 0:
        raise OSError("convert could not read %s: %s" % (" ".join(paths), result.stderr.decode().strip()))
    return parse_pam_stream(result.stdout)


def read_icons(paths):
    """The ICON_SIZE image of each .ico file, by path: one convert for all (the count of each
    file's images is in its header)."""
    images = read_images(*paths)
    icons = {}
    for path in paths:
        with open(path, "rb") as f:
            count = int.from_bytes(f.read(6)[4:6], "little")
        mine, images = images[:count], images[count:]
        sized = [im for im in mine if (im.width, im.height) == (ICON_SIZE, ICON_SIZE)]
        if not sized:
            raise ValueError("%s has no %dx%d image" % (path, ICON_SIZE, ICON_SIZE))
        icons[path] = sized[0]
    return icons


def read_icon(path):
    return read_icons([path])[path]


def opaque_pixels(icon):
    return [
        (x, y, icon.rgb(x, y))
        for y in range(icon.height)
        for x in range(icon.width)
        if icon.opaque(x, y)
    ]


def matches_at(shot, pixels, left, top):
    for x, y, colour in pixels:
        if shot.rgb(left + x, top + y) != colour:
            return False
    return True


def find_all(shot, icon, background=None):
    pixels = opaque_pixels(icon)
    if not pixels:
        raise ValueError("the icon has no opaque pixel")
    if {bytes(colour) for _, _, colour in pixels} == {background}:
        return []
    # Pixels of the screenshot's most common colour last: elsewhere a place fails sooner.
    pixels.sort(key=lambda pixel: bytes(pixel[2]) == background)
    found = []
    for top in range(shot.height - icon.height + 1):
        for left in range(shot.width - icon.width + 1):
            if matches_at(shot, pixels, left, top):
                found.append((left, top))
    return found


def most_common_colour(shot):
    every = (bytes(shot.rgb(x, y)) for y in range(shot.height) for x in range(shot.width))
    return collections.Counter(every).most_common(1)[0][0]


def icon_id(path):
    match = re.search(r"icon_(\d+)\.ico$", path)
    return match.group(1) if match else path


def command_find(args):
    at = None
    if len(args) == 4 and args[2] == "--at":
        at = tuple(int(v) for v in args[3].split(","))
        args = args[:2]
    if len(args) != 2:
        return usage()
    shot, icon = read_images(args[0])[0], read_icon(args[1])
    if at is not None:
        fits = 0 <= at[0] <= shot.width - ICON_SIZE and 0 <= at[1] <= shot.height - ICON_SIZE
        if fits and matches_at(shot, opaque_pixels(icon), *at):
            print("%d %d" % at)
            return 0
        return 1
    found = find_all(shot, icon, most_common_colour(shot))
    if not found:
        return 1
    print("%d %d" % found[0])
    return 0


def command_which(args):
    if len(args) < 2:
        return usage()
    shot = read_images(args[0])[0]
    any_found = False
    icons = read_icons(args[1:])
    background = most_common_colour(shot)
    for path in args[1:]:
        for left, top in find_all(shot, icons[path], background):
            print("%s %d %d" % (icon_id(path), left, top))
            any_found = True
    return 0 if any_found else 1


def usage():
    sys.stderr.write(__doc__)
    return 2


def take_size(args):
    global ICON_SIZE
    if "--size" in args:
        at = args.index("--size")
        ICON_SIZE = int(args[at + 1])
        del args[at:at + 2]
    return args


def main(argv):
    commands = {"find": command_find, "which": command_which}
    if len(argv) < 2 or argv[1] not in commands:
        return usage()
    try:
        return commands[argv[1]](take_size(argv[2:]))
    except (OSError, ValueError) as error:
        sys.stderr.write("icon_match.py: %s\n" % error)
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
