"""The tray pictures, drawn at any size from one description.

Every tray picture is the model word NV-7 on top and a motif below it. DESIGNS says which
motif each icon group shows and in which colours; LAYOUTS says, per size, how tall the word
is, where the motif sits and how wide its lines and bars are, chosen by eye for each size so
that every line falls on whole pixels; the motifs are drawn from those figures, never by
scaling another image. A size without a layout gets one by rule (layout_for), good enough
to measure what further sizes would cost.

icongen.py draws from here every image that has no pixel map of its own: a map always wins,
so that any single image can be drawn by hand (the 16x16 images and the program's own 32x32
and 48x48 are maps).

Python 3 standard library only.
"""

import math

BLACK = 0x000000
WHITE = 0xFFFFFF
GREY = 0x808080
LIGHT_GREY = 0xC0C0C0
RED = 0xFF0000
GREEN = 0x00FF00
YELLOW = 0xFFFF00
CYAN = 0x00FFFF

# The sizes the notification area asks for at 100, 125, 150, 175 and 200 % display scale.
TRAY_SIZES = (16, 20, 24, 28, 32)

# ---------------------------------------------------------------------------------------
# The model word, one pixel font per letter height. 'K' is ink.

WORD = "NV-7"
GLYPHS = {
    6: {  # 1-pixel strokes
        "N": ["K..K", "KK.K", "KK.K", "K.KK", "K.KK", "K..K"],
        "V": ["K...K", "K...K", "K...K", ".K.K.", ".K.K.", "..K.."],
        "-": ["..", "..", "..", "KK", "..", ".."],
        "7": ["KKKK", "...K", "..K.", "..K.", ".K..", ".K.."],
    },
    7: {  # 1-pixel strokes
        "N": ["K...K", "KK..K", "KK..K", "K.K.K", "K..KK", "K..KK", "K...K"],
        "V": ["K...K", "K...K", "K...K", "K...K", ".K.K.", ".K.K.", "..K.."],
        "-": ["...", "...", "...", "KKK", "...", "...", "..."],
        "7": ["KKKKK", "....K", "...K.", "..K..", "..K..", ".K...", ".K..."],
    },
    9: {  # 2-pixel strokes
        "N": ["KK...KK", "KKK..KK", "KKK..KK", "KKKK.KK", "KK.K.KK", "KK.KKKK", "KK..KKK",
              "KK..KKK", "KK...KK"],
        "V": ["KK...KK", "KK...KK", "KK...KK", "KK...KK", ".KK.KK.", ".KK.KK.", "..KKK..",
              "..KKK..", "...K..."],
        "-": ["...", "...", "...", "...", "KKK", "KKK", "...", "...", "..."],
        "7": ["KKKKK", "KKKKK", "...KK", "...KK", "..KK.", "..KK.", ".KK..", ".KK..",
              ".KK.."],
    },
    10: {  # 2-pixel strokes
        "N": ["KK...KK", "KKK..KK", "KKK..KK", "KKKK.KK", "KK.K.KK", "KK.K.KK", "KK.KKKK",
              "KK..KKK", "KK..KKK", "KK...KK"],
        "V": ["KK...KK", "KK...KK", "KK...KK", "KK...KK", "KK...KK", ".KK.KK.", ".KK.KK.",
              "..KKK..", "..KKK..", "...K..."],
        "-": ["....", "....", "....", "....", "KKKK", "KKKK", "....", "....", "....", "...."],
        "7": ["KKKKKK", "KKKKKK", "....KK", "....KK", "...KK.", "...KK.", "..KK..", "..KK..",
              "..KK..", "..KK.."],
    },
}
# Blank columns after each letter but the last, per letter height.
LETTER_GAPS = {6: (1, 1, 1), 7: (1, 1, 1), 9: (2, 1, 1), 10: (2, 2, 2)}


def word_width(height):
    glyphs = GLYPHS[height]
    return sum(len(glyphs[c][0]) for c in WORD) + sum(LETTER_GAPS[height])


class Layout:
    """Where things go in one size: the word's letter height, the motif's first and last row,
    the width of lines (strokes, rings, borders, crosses) and of bars, and the tallest bar of
    the volume staircase."""

    def __init__(self, size, word, motif_top, motif_bottom, line, bar, stairs, stair_bar,
                 stair_gap):
        self.size = size
        self.word = word
        self.top = motif_top
        self.bottom = motif_bottom
        self.line = line
        self.bar = bar
        self.stairs = stairs
        self.stair_bar = stair_bar
        self.stair_gap = stair_gap

    @property
    def height(self):
        return self.bottom - self.top + 1


LAYOUTS = {
    20: Layout(20, word=6, motif_top=7, motif_bottom=18, line=1, bar=2, stairs=11, stair_bar=1,
               stair_gap=1),
    24: Layout(24, word=7, motif_top=9, motif_bottom=22, line=2, bar=3, stairs=14, stair_bar=2,
               stair_gap=1),
    28: Layout(28, word=9, motif_top=11, motif_bottom=26, line=2, bar=3, stairs=16, stair_bar=2,
               stair_gap=2),
    32: Layout(32, word=10, motif_top=12, motif_bottom=30, line=2, bar=4, stairs=18, stair_bar=2,
               stair_gap=2),
}


def layout_for(size):
    if size in LAYOUTS:
        return LAYOUTS[size]
    fitting = [h for h in GLYPHS if h <= size / 3 and word_width(h) <= size - 2]
    if not fitting:
        raise ValueError(f"no lettering fits a {size}x{size} image")
    word = max(fitting)
    top = word + 2
    bottom = size - 2
    return Layout(size, word, top, bottom, line=max(1, round(size / 14)),
                  bar=max(2, round(size / 8)), stairs=bottom - top + 1,
                  stair_bar=max(1, size // 14), stair_gap=max(1, size // 14))


# ---------------------------------------------------------------------------------------
# Drawing

class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [None] * (size * size)

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y * self.size + x] = colour

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)


def draw_word(canvas, layout):
    glyphs = GLYPHS[layout.word]
    x = (canvas.size - word_width(layout.word) + 1) // 2
    for letter, gap in zip(WORD, LETTER_GAPS[layout.word] + (0,)):
        rows = glyphs[letter]
        for y, row in enumerate(rows):
            for dx, cell in enumerate(row):
                if cell == "K":
                    canvas.put(x + dx, y, BLACK)
        x += len(rows[0]) + gap


def steep_line(canvas, top, bottom, x_top, x_bottom, width, colour):
    """A line from row top to row bottom, width pixels in every row: no row is thicker or
    thinner than another, however the line leans."""
    rows = bottom - top + 1
    for y in range(top, bottom + 1):
        t = (y - top) / (rows - 1) if rows > 1 else 0
        x = math.floor(x_top + (x_bottom - x_top) * t + 0.5)
        canvas.rect(x, y, width, 1, colour)


GAP_DEGREES = 30  # half the opening of the power symbol's ring


def draw_onoff(canvas, layout, bar, stroke, power):
    """A bar at the left edge, a stroke leaning right, and a power symbol: an open ring with a
    vertical stroke through its gap."""
    s, w = canvas.size, layout.line
    canvas.rect(0, layout.top, layout.bar, layout.height, bar)
    # The ring: its stroke centred on whole pixels, so both halves mirror exactly. The gap
    # at the top leaves at least a pixel clear on each side of the stem, and every end of the
    # ring is as wide as its line (a narrower run at an end would look like a stray pixel).
    diameter = layout.height - 1
    if (diameter - w) % 2:
        diameter -= 1
    x0, y0 = s - diameter, layout.bottom - diameter + 1
    cx, cy = x0 + diameter / 2, y0 + diameter / 2
    middle = (diameter - w) / 2
    for y in range(y0, y0 + diameter):
        runs = ([], [])
        for x in range(x0, x0 + diameter):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            on_ring = abs(math.hypot(dx, dy) - middle) <= w / 2 - 0.1
            in_gap = dy < 0 and (math.atan2(abs(dx), -dy) < math.radians(GAP_DEGREES) or
                                 abs(dx) < w / 2 + 1.5)
            if on_ring and not in_gap:
                runs[dx > 0].append(x)
        for run in runs:
            if y >= cy or len(run) >= w:
                for x in run:
                    canvas.put(x, y, power)
    stem_x = math.floor(cx - w / 2 + 0.5)
    canvas.rect(stem_x, y0 - 1, w, math.floor(cy + 1) - (y0 - 1), power)
    # The stroke fills the room between the bar and the ring, one pixel clear of both.
    left = layout.bar + 1
    right = x0 - 1 - w
    steep_line(canvas, layout.top, layout.bottom, right, left, w, stroke)


def draw_cross(canvas, layout, colour):
    """A large X over the whole motif, its arms two pixels wide."""
    s, arm = canvas.size, 2
    span = round(10 * s / 16)
    if span % 2:
        span += 1
    left = (s - span) // 2
    right = left + span - arm
    steep_line(canvas, layout.top, layout.bottom, left, right, arm, colour)
    steep_line(canvas, layout.top, layout.bottom, right, left, arm, colour)


STAIR_LIT = (CYAN, CYAN, GREEN, GREEN, YELLOW, YELLOW, RED)


def draw_stairs(canvas, layout, lit, all_red=False):
    """Seven bars rising from left to right; the first lit ones in their colours, the rest
    grey."""
    w, gap = layout.stair_bar, layout.stair_gap
    total = 7 * w + 6 * gap
    x = (canvas.size - total + 1) // 2
    for k in range(1, 8):
        height = math.floor(k * layout.stairs / 7 + 0.5)
        colour = RED if all_red else STAIR_LIT[k - 1] if k <= lit else GREY
        canvas.rect(x, layout.bottom - height + 1, w, height, colour)
        x += w + gap


def triangle_height(layout):
    # Odd, so that the point is one pixel.
    return layout.height if layout.height % 2 else layout.height - 1


def draw_triangle(canvas, layout, x, pointing_right, colour):
    """A triangle of triangle_height rows whose columns shrink by a pixel at each end; x is
    its leftmost column. Returns its width."""
    height = triangle_height(layout)
    width = (height + 1) // 2
    top = layout.top + (layout.height - height) // 2
    for i in range(width):
        shrink = i if pointing_right else width - 1 - i
        canvas.rect(x + i, top + shrink, 1, height - 2 * shrink, colour)
    return width


def draw_square(canvas, layout, fill, border):
    side = layout.height
    x0 = (canvas.size - side + 1) // 2
    canvas.rect(x0, layout.top, side, side, border)
    w = layout.line
    canvas.rect(x0 + w, layout.top + w, side - 2 * w, side - 2 * w, fill)


def draw_play(canvas, layout, colour):
    width = (triangle_height(layout) + 1) // 2
    draw_triangle(canvas, layout, (canvas.size - width + 1) // 2, True, colour)


def draw_skip(canvas, layout, colour, forward):
    """Previous track: a bar, a pixel's gap, then two triangles pointing left, touching;
    next track is its mirror image."""
    width = (triangle_height(layout) + 1) // 2
    total = layout.bar + 1 + 2 * width
    x = (canvas.size - total) // 2
    height = triangle_height(layout)
    top = layout.top + (layout.height - height) // 2
    canvas.rect(x, top, layout.bar, height, colour)
    x += layout.bar + 1
    x += draw_triangle(canvas, layout, x, False, colour)
    draw_triangle(canvas, layout, x, False, colour)
    if forward:
        s = canvas.size
        rows = [canvas.pixels[y * s:(y + 1) * s] for y in range(s)]
        canvas.pixels = [p for row in rows for p in reversed(row)]


# What each group shows below the word.
DESIGNS = {
    1: lambda c, l: draw_onoff(c, l, GREY, LIGHT_GREY, GREY),
    100: lambda c, l: (draw_onoff(c, l, GREY, GREY, GREY), draw_cross(c, l, RED)),
    101: lambda c, l: draw_onoff(c, l, CYAN, GREY, GREY),
    102: lambda c, l: draw_onoff(c, l, GREY, GREY, RED),
    **{10 + k: (lambda k: lambda c, l: draw_stairs(c, l, k))(k) for k in range(8)},
    18: lambda c, l: draw_stairs(c, l, 7, all_red=True),
    111: lambda c, l: draw_square(c, l, BLACK, WHITE),
    112: lambda c, l: draw_play(c, l, BLACK),
    113: lambda c, l: draw_skip(c, l, GREEN, forward=False),
    114: lambda c, l: draw_skip(c, l, GREEN, forward=True),
}


def draw(group, size):
    """The picture of group at size x size: a row-major list of RGB values, None where
    transparent."""
    if group not in DESIGNS:
        raise KeyError(group)
    layout = layout_for(size)
    canvas = Canvas(size)
    DESIGNS[group](canvas, layout)
    draw_word(canvas, layout)
    return canvas.pixels
