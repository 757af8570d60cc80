#!/usr/bin/env python3
"""Draws Tavik's artwork and writes it in the formats the resource script takes.

    artgen.py DIALART OUTDIR            writes tavik.ico, hand_open.cur, hand_grab.cur,
                                        dial_numerals.bmp and dial_plain.bmp
    artgen.py DIALART OUTDIR --png DIR  also writes 8x zoomed PNG renders into DIR

DIALART is the dial tool of the native build (build/native/tools/dialart).

The output is deterministic: the files under res/ are this script's output, and a
test regenerates them and compares the bytes.
"""

import math
import os
import struct
import subprocess
import sys
import zlib

# ---------------------------------------------------------------------------
# Dial bitmaps: 65 x 64, 8 bits per pixel, 256-entry colour table, 252 used.
# The dial itself is described once, in core/dialart.cpp, which the program also
# draws at other sizes; the tool built from it (dialart) hands over its pixels.

DIAL_WIDTH = 65  # the last column is black and never shown
DIAL_HEIGHT = 64
DIAL_USED_COLORS = 252
BLACK = (0, 0, 0)


def dial_tool_output(tool, *args):
    return subprocess.run([tool] + list(args), check=True, stdout=subprocess.PIPE).stdout


def exact_colors(tool):
    """Colours stored exactly; everything else is reduced to the rest of the table."""
    lines = dial_tool_output(tool, "exact").decode().split("\n")
    return [tuple(int(v) for v in line.split()) for line in lines if line.strip()]


def render_dial(tool, numerals):
    data = dial_tool_output(tool, "64", "numerals" if numerals else "plain")
    pixels = []
    for y in range(DIAL_HEIGHT):
        row = []
        for x in range(64):
            b, g, r, _ = data[(y * 64 + x) * 4:(y * 64 + x) * 4 + 4]
            row.append((r, g, b))
        row.append(BLACK)
        pixels.append(row)
    return pixels


def median_cut(colors, count):
    """Reduces a {colour: pixel count} map to at most `count` colours."""
    boxes = [list(colors.items())]
    while len(boxes) < count:
        best = None
        best_score = -1
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
            weight = sum(n for _, n in box)
            score = max(spans) * weight
            if score > best_score:
                best, best_score = i, score
        if best is None:
            break
        box = boxes.pop(best)
        spans = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda item: (item[0][axis], item[0]))
        total = sum(n for _, n in box)
        running = 0
        cut = 1
        for j, (_, n) in enumerate(box):
            running += n
            if running * 2 >= total:
                cut = min(max(j + 1, 1), len(box) - 1)
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    mapping = {}
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        mean = tuple(int(round(sum(c[k] * n for c, n in box) / weight)) for k in range(3))
        index = len(palette)
        palette.append(mean)
        for c, _ in box:
            mapping[c] = index
    return palette, mapping


def quantize(pixels, exact_table):
    """A 256-entry colour table using exactly DIAL_USED_COLORS entries, and the indices."""
    exact = [c for c in exact_table if any(c in row for row in pixels)]
    others = {}
    for row in pixels:
        for c in row:
            if c not in exact:
                others[c] = others.get(c, 0) + 1
    reduced, mapping = median_cut(others, DIAL_USED_COLORS - len(exact))
    if len(reduced) + len(exact) != DIAL_USED_COLORS:
        raise SystemExit("artgen: too few colours for the dial")
    entries = [(c, ("exact", i)) for i, c in enumerate(exact)]
    entries += [(c, ("reduced", i)) for i, c in enumerate(reduced)]
    # Darkest first; the order is the table's own.
    entries.sort(key=lambda e: (0.299 * e[0][0] + 0.587 * e[0][1] + 0.114 * e[0][2], e[0], e[1]))
    position = {key: i for i, (_, key) in enumerate(entries)}
    table = [c for c, _ in entries] + [BLACK] * (256 - len(entries))
    indices = []
    for row in pixels:
        out = []
        for c in row:
            if c in exact:
                out.append(position[("exact", exact.index(c))])
            else:
                out.append(position[("reduced", mapping[c])])
        indices.append(out)
    return table, indices


def bitmap_file(table, indices):
    stride = (DIAL_WIDTH + 3) // 4 * 4
    image = bytearray()
    for row in reversed(indices):
        image += bytes(row) + bytes(stride - DIAL_WIDTH)
    header = struct.pack("<IiiHHIIiiII", 40, DIAL_WIDTH, DIAL_HEIGHT, 1, 8, 0, len(image),
                         2834, 2834, 256, 0)
    colors = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in table)
    body = header + colors + bytes(image)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + 40 + len(colors))
    return file_header + body


# ---------------------------------------------------------------------------
# Icon: 32 x 32, 16 colours (the standard VGA palette), with a mask; the same
# drawing at 48 and 64 for scaled displays.

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
ICON_BLACK, ICON_LIGHT_GREY, ICON_DARK_GREY, ICON_YELLOW, ICON_WHITE = 0, 7, 8, 11, 15


def draw_line(grid, x0, y0, x1, y1, color, width=1):
    steps = int(round(max(abs(x1 - x0), abs(y1 - y0)) * 2))
    for i in range(steps + 1):
        t = i / steps
        x = int(round(x0 + (x1 - x0) * t))
        y = int(round(y0 + (y1 - y0) * t))
        for w in range(width):
            grid[y][x + w] = color


def render_icon(size=32):
    s = size / 32  # the drawing is in the 32-pixel icon's pixels

    def at(v):  # a pixel centre of the 32-pixel icon at this size
        return (v + 0.5) * s - 0.5

    grid = [[None] * size for _ in range(size)]
    cx = cy = at(15.5)
    dot = max(1, int(round(s)))
    for y in range(size):
        for x in range(size):
            dx, dy = x - cx, y - cy
            r = math.hypot(dx, dy)
            if r > 15.6 * s:
                continue
            if r > 14.2 * s:
                # Raised rim: lit at the upper left.
                grid[y][x] = ICON_WHITE if dx + dy < 0 else ICON_LIGHT_GREY
            else:
                grid[y][x] = ICON_DARK_GREY
    # Minute dots inside the upper-left rim.
    for minute in range(60):
        a = minute * math.pi / 30
        if not (math.pi * 1.45 < a < math.pi * 1.95) or minute % 5 == 0:
            continue
        if minute % 2:
            continue
        x = int(round(cx + 13.0 * s * math.sin(a)))
        y = int(round(cy - 13.0 * s * math.cos(a)))
        for yy in range(y, y + dot):
            for xx in range(x, x + dot):
                grid[yy][xx] = ICON_BLACK
    # Hour marks: bars at 12, 3, 6, 9 with shading; dots elsewhere.
    for hour in range(12):
        a = hour * math.pi / 6
        x = int(round(cx + 11.5 * s * math.sin(a)))
        y = int(round(cy - 11.5 * s * math.cos(a)))
        if hour in (0, 6):
            for yy in range(y - dot, y + dot + 1):
                for w in range(dot):
                    grid[yy][x + w] = ICON_WHITE
                    grid[yy][x + dot + w] = ICON_LIGHT_GREY
        elif hour in (3, 9):
            for xx in range(x - dot, x + dot + 1):
                for w in range(dot):
                    grid[y + w][xx] = ICON_WHITE
                    grid[y + dot + w][xx] = ICON_LIGHT_GREY
        else:
            for yy in range(y, y + dot):
                for xx in range(x, x + dot):
                    grid[yy][xx] = ICON_WHITE
    # Hands: long to the upper left, long to 3, short and wide to the lower left.
    draw_line(grid, at(15), at(15), at(8), at(8), ICON_YELLOW, dot)
    draw_line(grid, at(16), at(15), at(25), at(15), ICON_YELLOW, dot)
    draw_line(grid, at(15), at(16), at(11), at(20), ICON_YELLOW, 2 * dot)
    return grid


def padded(row_bytes):
    """A bitmap row, padded to whole 32-bit words."""
    return bytes(row_bytes) + bytes(-len(row_bytes) % 4)


def mask_row(marks):
    """1 bit a pixel, most significant first: 1 where the mark is true."""
    row = bytearray()
    for x in range(0, len(marks), 8):
        bits = 0
        for mark in marks[x:x + 8]:
            bits = bits << 1 | (1 if mark else 0)
        row.append(bits)
    return padded(row)


def icon_file(grid):
    size = len(grid)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(grid):
        line = bytearray()
        for x in range(0, size, 2):
            a = row[x] if row[x] is not None else 0
            b = row[x + 1] if row[x + 1] is not None else 0
            line.append(a << 4 | b)
        xor += padded(line)
        mask += mask_row([c is None for c in row])
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    colors = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in VGA)
    image = header + colors + bytes(xor) + bytes(mask)
    assert size != 32 or len(image) == 744
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image), 22)
    return directory + entry + image


# ---------------------------------------------------------------------------
# Cursors: 32 x 32 monochrome hands, hot spot (15, 15) in the palm.
# 'X' black outline, 'o' white fill, '.' transparent. The grids start at row 7;
# the open hand spans columns 7-22, the fist 9-21; rows 17-22 (the heel) match.

HAND_LEFT = 7
HAND_TOP = 7
HEEL = [
    "..XoooooooooooX.",
    "..XoooooooooooX.",
    "..XoooooooooooX.",
    "...XoooooooooX..",
    "...XoooooooooX..",
    "...XXXXXXXXXXX..",
]
OPEN_HAND = [
    ".....XXX........",
    ".XXX.XoX.XXX....",
    ".XoX.XoX.XoX.XXX",
    ".XoX.XoX.XoX.XoX",
    ".XoX.XoX.XoX.XoX",
    ".XoXXXoXXXoXXXoX",
    "XXoooooooooooooX",
    "XoXooooooooooooX",
    "XooXoooooooooooX",
    ".XooXooooooooooX",
] + HEEL
FIST = [
    "................",
    "................",
    "................",
    "................",
    "................",
    "....X..X..X..X..",
    "...XoXXoXXoXXoX.",
    "..XooXooXooXooX.",
    "..XoooooooooooX.",
    "..XXXXXoooooooX.",
] + HEEL
HOT_SPOT = (15, 15)
# The sizes of the icon and the cursors for scaled displays, beside 32.
LARGER_SIZES = (48, 64)


def cursor_grid(art, size=32):
    """The hand in a cursor of size pixels: at 48 and 64 each pixel is the
    32-pixel drawing's under its centre, crisp as a monochrome cursor must be."""
    grid = [["."] * 32 for _ in range(32)]
    for y, line in enumerate(art):
        for x, mark in enumerate(line):
            grid[HAND_TOP + y][HAND_LEFT + x] = mark
    return [[grid[y * 32 // size][x * 32 // size] for x in range(size)] for y in range(size)]


def hot_spot(size):
    """The hot spot, in the palm, at the middle of its pixel scaled."""
    return tuple(int((v + 0.5) * size / 32) for v in HOT_SPOT)


def cursor_file(grid):
    size = len(grid)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(grid):
        xor += mask_row([mark == "o" for mark in row])
        mask += mask_row([mark == "." for mark in row])
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    colors = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + colors + bytes(xor) + bytes(mask)
    assert size != 32 or len(image) == 304
    directory = struct.pack("<HHH", 0, 2, 1)
    spot = hot_spot(size) if size != 32 else HOT_SPOT
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, spot[0], spot[1], len(image), 22)
    return directory + entry + image


# ---------------------------------------------------------------------------
# PNG renders for people to look at.

def png(width, height, rgba_rows, zoom):
    raw = bytearray()
    for row in rgba_rows:
        line = bytearray()
        for pixel in row:
            line += bytes(pixel) * zoom
        for _ in range(zoom):
            raw += b"\0" + line
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width * zoom, height * zoom, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def checker(x, y):
    return (200, 200, 200, 255) if (x // 4 + y // 4) % 2 else (235, 235, 235, 255)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) not in (3, 5) or (len(argv) == 5 and argv[3] != "--png"):
        sys.stderr.write(__doc__)
        return 2
    tool = argv[1]
    out = argv[2]
    exact = exact_colors(tool)
    os.makedirs(out, exist_ok=True)
    dials = {}
    for name, numerals in (("dial_numerals", True), ("dial_plain", False)):
        pixels = render_dial(tool, numerals)
        table, indices = quantize(pixels, exact)
        write(os.path.join(out, name + ".bmp"), bitmap_file(table, indices))
        dials[name] = [[table[i] for i in row] for row in indices]
    icon = render_icon()
    write(os.path.join(out, "tavik.ico"), icon_file(icon))
    cursors = {"hand_open": cursor_grid(OPEN_HAND), "hand_grab": cursor_grid(FIST)}
    for name, grid in cursors.items():
        write(os.path.join(out, name + ".cur"), cursor_file(grid))
    for size in LARGER_SIZES:
        write(os.path.join(out, "tavik_%d.ico" % size), icon_file(render_icon(size)))
        for name, art in (("hand_open", OPEN_HAND), ("hand_grab", FIST)):
            write(os.path.join(out, "%s_%d.cur" % (name, size)), cursor_file(cursor_grid(art, size)))

    if len(argv) == 5:
        docs = argv[4]
        os.makedirs(docs, exist_ok=True)
        for name, pixels in dials.items():
            rows = [[c + (255,) for c in row[:64]] for row in pixels]
            write(os.path.join(docs, name + ".png"), png(64, 64, rows, 8))
        rows = [[VGA[c] + (255,) if c is not None else checker(x, y) for x, c in enumerate(row)]
                for y, row in enumerate(icon)]
        write(os.path.join(docs, "icon.png"), png(32, 32, rows, 8))
        colors = {"X": (0, 0, 0, 255), "o": (255, 255, 255, 255)}
        for name, grid in cursors.items():
            rows = [[colors.get(m) or checker(x, y) for x, m in enumerate(row)]
                    for y, row in enumerate(grid)]
            write(os.path.join(docs, name + ".png"), png(32, 32, rows, 8))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
