#!/usr/bin/env python3
"""Draws the grid's small images and cursors from the pictures below and writes them as BMP and
CUR files next to this script. Run it after changing a picture; the build uses the files."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Indicator images, 6 x 11: '#' black, '.' white (the transparent colour).
ARROW = """
......
......
#.....
##....
###...
####..
###...
##....
#.....
......
......"""
EDIT = """
......
.####.
..##..
..##..
..##..
..##..
..##..
..##..
..##..
.####.
......"""
INSERT = """
......
......
..#...
#.#.#.
.###..
#####.
.###..
#.#.#.
..#...
......
......"""
MULTIDOT = """
......
......
......
......
..##..
.####.
..##..
......
......
......
......"""
MULTIARROW = """
......
#.....
##....
###...
####..
###...
##....
#.....
......
.##...
.##..."""
# The white arrow on olive: 'w' white, 'o' olive (transparent).
ARROW_W = """
oooooo
oooooo
wooooo
wwoooo
wwwooo
wwwwoo
wwwooo
wwoooo
wooooo
oooooo
oooooo"""
# Sort markers, 10 x 9: 'g' grey shadow, 'w' white light, 'm' magenta (transparent).
SORT_DOWN = """
mmmmmmmmmm
mggggggggm
mmgmmmmwmm
mmgmmmmwmm
mmmgmmwmmm
mmmgmmwmmm
mmmmgwmmmm
mmmmgwmmmm
mmmmmmmmmm"""
SORT_UP = """
mmmmmmmmmm
mmmmgwmmmm
mmmmgwmmmm
mmmgmmwmmm
mmmgmmwmmm
mmgmmmmwmm
mmgmmmmwmm
mgwwwwwwwm
mmmmmmmmmm"""

# Cursors, 32 x 32 with hot spot: '#' black, '.' white, ' ' transparent.
DOWN_CUR = ["     ####     ", "     #..#     ", "     #..#     ", "     #..#     ", "     #..#     ",
            "     #..#     ", "  ####..####  ", "   #......#   ", "    #....#    ", "     #..#     ",
            "      ##      "]
RIGHT_CUR = ["      #     ", "      ##    ", "#######.#   ", "#.......#  ", "#........# ", "#.......#  ",
             "#######.#   ", "      ##    ", "      #     "]
LEFT_CUR = [row[::-1] for row in RIGHT_CUR]


def rows(picture):
    return [line for line in picture.strip("\n").split("\n")]


def bmp_file(width, height, bits, palette, pixels):
    """pixels: rows top to bottom of palette indexes. Writes a bottom-up BMP."""
    row_bytes = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray(row_bytes)
        for x in range(width):
            v = pixels[y][x]
            if bits == 1:
                if v:
                    line[x // 8] |= 0x80 >> (x % 8)
            else:
                shift = 4 if x % 2 == 0 else 0
                line[x // 2] |= v << shift
        data += line
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    offset = 14 + len(header) + len(pal)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + pal + data


def write_bmp(name, picture, bits, colours):
    lines = rows(picture)
    keys = list(colours.keys())
    palette = [colours[k] for k in keys]
    palette += [(0, 0, 0)] * ((1 << bits) - len(palette))
    pixels = [[keys.index(ch) for ch in line] for line in lines]
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bmp_file(len(lines[0]), len(lines), bits, palette, pixels))


def write_cur(name, art, hot):
    size = 32
    grid = [[" "] * size for _ in range(size)]
    for y, line in enumerate(art):
        for x, ch in enumerate(line):
            grid[y][x] = ch
    # XOR image (colour bits) and AND mask, both 1 bit, bottom-up.
    def plane(pick):
        out = bytearray()
        for y in range(size - 1, -1, -1):
            line = bytearray(4)
            for x in range(size):
                if pick(grid[y][x]):
                    line[x // 8] |= 0x80 >> (x % 8)
            out += line
        return out
    xor = plane(lambda c: c == ".")
    and_mask = plane(lambda c: c == " ")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    pal = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + pal + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, hot[0], hot[1],
                                                              len(image), 6 + 16)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(directory + image)


BW = {".": (255, 255, 255), "#": (0, 0, 0)}
write_bmp("dbgarroweh.bmp", ARROW, 1, BW)
write_bmp("dbediteh.bmp", EDIT, 1, BW)
write_bmp("dbinserteh.bmp", INSERT, 1, BW)
write_bmp("dbmultidoteh.bmp", MULTIDOT, 1, BW)
write_bmp("dbmultiarroweh.bmp", MULTIARROW, 1, BW)
write_bmp("dbgarrowehw.bmp", ARROW_W, 4, {"o": (128, 128, 0), "w": (255, 255, 255)})
SORT = {"m": (255, 0, 255), "g": (128, 128, 128), "w": (255, 255, 255)}
write_bmp("dbsmdowneh.bmp", SORT_DOWN, 4, SORT)
write_bmp("dbsmupeh.bmp", SORT_UP, 4, SORT)
write_cur("downcureh.cur", DOWN_CUR, (6, 10))
write_cur("rightcureh.cur", RIGHT_CUR, (10, 4))
write_cur("leftcureh.cur", LEFT_CUR, (1, 4))
