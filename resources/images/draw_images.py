#!/usr/bin/env python3
"""Draws the program icon (PNG at 32, 48, 128 and 256 pixels), the hand pointer HAND-M.CUR and
the list's reorder pointer drag.ico. Run it in this folder; the files are kept in the tree, so
building never needs it."""
import math
import struct
import zlib

HAND = """
         ##
        #..#
        #..#
        #..#
        #..#
        #..###
        #..#..###
        #..#..#..##
     ## #..#..#..#.#
    #..##........#..#
    #...#...........#
     #..............#
      #.............#
      #............#
       #...........#
       #..........#
        #.........#
        #.........#
        ###########
"""

DRAG = """
               #
              #.#
             #...#
            #.....#
           #.......#
          ####...####
             #...#
             #...#
             #...#
             #...#
          ####...####
           #.......#
            #.....#
             #...#
              #.#
               #
"""


def art_pixels(art, size=32, top=0):
    """Black outline, white inside, transparent elsewhere; BGRA rows from the top."""
    rows = art.strip("\n").split("\n")
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "#":
                pixels[y + top][x] = (0, 0, 0, 255)
            elif ch == ".":
                pixels[y + top][x] = (255, 255, 255, 255)
    return pixels


def dib(pixels):
    """A 32-bit device-independent bitmap with its AND mask, as icon and cursor files hold it."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes(p) for row in reversed(pixels) for p in row)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, p in enumerate(row):
            if p[3] == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    return header + colour + mask


def icon_file(pixels, kind, hotspot=(0, 0)):
    body = dib(pixels)
    size = len(pixels)
    planes_or_x, bits_or_y = (1, 32) if kind == 1 else hotspot
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, planes_or_x, bits_or_y, len(body), 22)
    return struct.pack("<HHH", 0, kind, 1) + entry + body


def png(width, height, rgba_rows):
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in rgba_rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(
            ">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)), t


def program_colour(u, v):
    """The icon at a point of the unit square: a page of text on a teal tile, with a quill."""
    r = 0.18
    cx, cy = min(max(u, r), 1 - r), min(max(v, r), 1 - r)
    if math.hypot(u - cx, v - cy) > r or not (0.02 <= u <= 0.98 and 0.02 <= v <= 0.98):
        return None
    d, t = segment_distance(u, v, 0.86, 0.10, 0.40, 0.84)
    if d < 0.012 + 0.075 * math.sin(math.pi * min(1.0, t * 1.25)) * (t < 0.8):
        return (232, 163, 61)
    if 0.20 <= u <= 0.68 and 0.16 <= v <= 0.84:
        for line in range(6):
            y = 0.28 + line * 0.09
            if abs(v - y) < 0.018 and 0.27 <= u <= (0.61 if line % 3 != 2 else 0.50):
                return (120, 132, 140)
        return (250, 250, 246)
    return (31, 111, 139)


def program_icon(size, samples=4):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = program_colour((x + (sx + 0.5) / samples) / size,
                                       (y + (sy + 0.5) / samples) / size)
                    if c:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 1
            n = acc[3]
            row.append((acc[0] // n, acc[1] // n, acc[2] // n, 255 * n // (samples * samples))
                       if n else (0, 0, 0, 0))
        rows.append(row)
    return rows


if __name__ == "__main__":
    with open("HAND-M.CUR", "wb") as f:
        f.write(icon_file(art_pixels(HAND, top=6), 2, hotspot=(9, 6)))
    with open("drag.ico", "wb") as f:
        f.write(icon_file(art_pixels(DRAG, top=8), 1))
    for size in (32, 48, 128, 256):
        with open(f"quillane-{size}.png", "wb") as f:
            f.write(png(size, size, program_icon(size)))
