#!/usr/bin/env python3
"""Draws the 489 x 229 picture of the splash window and the About dialog into pictures/splash.png.

Run from this folder; the output is committed, so the build never needs Python. Pure standard
library: shapes are supersampled for soft edges, letters come from the small pixel font below.
"""
import math
import struct
import zlib

WIDTH, HEIGHT = 489, 229
SUPER = 3  # supersampling factor for the round shapes

# 5 x 7 letters, "#" set.
FONT = {
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "c": [".....", ".....", ".####", "#....", "#....", "#....", ".####"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    ",": [".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def background():
    top, bottom = (18, 32, 64), (16, 96, 112)
    return [[mix(top, bottom, (y / HEIGHT) * 0.8 + (x / WIDTH) * 0.2) for x in range(WIDTH)]
            for y in range(HEIGHT)]


def fill_rect(img, x0, y0, w, h, colour):
    for y in range(max(y0, 0), min(y0 + h, HEIGHT)):
        for x in range(max(x0, 0), min(x0 + w, WIDTH)):
            img[y][x] = colour


def blend_shape(img, inside, box, colour):
    """Blends `colour` by the share of SUPER x SUPER samples per pixel for which inside(x, y)."""
    x0, y0, x1, y1 = box
    for py in range(max(y0, 0), min(y1, HEIGHT)):
        for px in range(max(x0, 0), min(x1, WIDTH)):
            hits = sum(inside(px + (i + 0.5) / SUPER, py + (j + 0.5) / SUPER)
                       for i in range(SUPER) for j in range(SUPER))
            if hits:
                img[py][px] = mix(img[py][px], colour, hits / SUPER ** 2)


def text(img, x, y, string, scale, colour, spacing=1):
    for ch in string:
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    fill_rect(img, x + col * scale, y + row * scale, scale, scale, colour)
        x += (5 + spacing) * scale


def editor_panel(img):
    """A little editor window: gutter with line marks and syntax-coloured code bars."""
    fill_rect(img, 282, 20, 184, 108, (245, 245, 235))
    fill_rect(img, 282, 20, 24, 108, (220, 224, 232))
    keyword, name, string, comment = (40, 80, 200), (30, 30, 30), (170, 40, 40), (40, 140, 60)
    lines = [
        [(0, 44, comment)],
        [(0, 50, keyword), (54, 60, name)],
        [(0, 8, name)],
        [(10, 30, keyword), (44, 60, name)],
        [(10, 40, name), (54, 50, string)],
        [(10, 30, keyword), (44, 36, name)],
        [(20, 46, name), (70, 60, string)],
        [(10, 14, name)],
        [(0, 8, name)],
    ]
    for row, runs in enumerate(lines):
        y = 28 + row * 11
        fill_rect(img, 289, y + 1, 10, 4, (150, 156, 170))
        for start, length, colour in runs:
            fill_rect(img, 312 + start, y, length, 6, colour)


def graphics_motif(img):
    """A filled circle with a ring and rays, the kind of picture the graphics library draws."""
    cx, cy = 420.0, 180.0
    blend_shape(img, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= 22 ** 2,
                (390, 150, 452, 212), (250, 190, 60))
    blend_shape(img, lambda x, y: 28 ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= 31 ** 2,
                (386, 146, 456, 216), (240, 240, 240))
    for k in range(12):
        a = k * math.pi / 6
        dx, dy = math.cos(a), math.sin(a)

        def ray(x, y, dx=dx, dy=dy):
            along = (x - cx) * dx + (y - cy) * dy
            across = abs(-(x - cx) * dy + (y - cy) * dx)
            return 36 <= along <= 46 and across <= 1.3

        blend_shape(img, ray, (370, 130, 470, 229), (240, 240, 240))


def write_png(path, img):
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in img)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    picture = background()
    text(picture, 30, 50, "Scrivo", 7, (255, 255, 255))
    fill_rect(picture, 30, 112, 244, 3, (250, 190, 60))
    text(picture, 30, 128, "WRITE, RUN, DRAW", 2, (200, 230, 240))
    editor_panel(picture)
    graphics_motif(picture)
    write_png("pictures/splash.png", picture)
