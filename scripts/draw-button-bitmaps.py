#!/usr/bin/env python3
"""Draws the 16 x 16, 24-bit pictures of the program's buttons on magenta (their transparent colour)
and writes them as BMP files beside the form files in src/window/forms. Run it again after changing
a drawing; the output is byte-for-byte reproducible."""
import math
import os
import struct

SIZE = 16
MAGENTA = (255, 0, 255)
FORMS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'window', 'forms')


def canvas():
    return [[MAGENTA] * SIZE for _ in range(SIZE)]


def put(img, x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        img[y][x] = colour


def each_pixel():
    for y in range(SIZE):
        for x in range(SIZE):
            yield x, y, x + 0.5, y + 0.5


def disc(img):
    """A compact disc with a silver sheen, a clear hub and a hole."""
    for x, y, px, py in each_pixel():
        d = math.hypot(px - 8, py - 8)
        if d > 7.4 or d <= 1.5:
            continue
        if d > 6.5:
            colour = (80, 84, 96)
        elif d <= 2.5:
            colour = (150, 154, 160)
        else:
            angle = math.atan2(py - 8, px - 8)
            shine = 0.5 + 0.5 * math.cos(2 * angle - 0.8)
            colour = (int(190 + 55 * shine), int(196 + 40 * shine), int(214 + 30 * (1 - shine)))
        put(img, x, y, colour)


def badge(img, pattern, colour, at=(10, 10)):
    """A small sign in the bottom-right corner: its 'X' cells in `colour`, ringed in white."""
    cells = {(at[0] + col, at[1] + row)
             for row, line in enumerate(pattern) for col, cell in enumerate(line) if cell == 'X'}
    for (x, y) in cells:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (x + dx, y + dy) not in cells:
                    put(img, x + dx, y + dy, (255, 255, 255))
    for (x, y) in cells:
        put(img, x, y, colour)


PLUS = ['..XX..', '..XX..', 'XXXXXX', 'XXXXXX', '..XX..', '..XX..']
CROSS = ['XX..XX', 'XXXXXX', '.XXXX.', '.XXXX.', 'XXXXXX', 'XX..XX']


def magnifier(img, cx=6.0, cy=6.0, radius=4.6, handle_to=14.5):
    for x, y, px, py in each_pixel():
        d = math.hypot(px - cx, py - cy)
        if d <= radius - 1.3:
            glint = math.hypot(px - (cx - 1.5), py - (cy - 1.5)) < 1.2
            put(img, x, y, (255, 255, 255) if glint else (200, 228, 255))
        elif d <= radius:
            put(img, x, y, (40, 44, 52))
    start = cx + (radius - 0.6) / math.sqrt(2)
    for x, y, px, py in each_pixel():
        # distance from the handle's axis, the diagonal from the rim to the corner
        t = ((px - start) + (py - start)) / 2
        off = abs((px - start) - (py - start)) / math.sqrt(2)
        if 0 <= t <= handle_to - start and off <= 1.1:
            put(img, x, y, (120, 72, 24) if t > 1.2 else (40, 44, 52))


def gear(img):
    for x, y, px, py in each_pixel():
        d = math.hypot(px - 8, py - 8)
        angle = math.atan2(py - 8, px - 8)
        tooth = math.cos(8 * angle) > 0.35
        outer = 7.3 if tooth else 5.6
        if d > outer or d <= 1.6:
            continue
        if d > outer - 1.0 or d <= 2.6:
            put(img, x, y, (56, 60, 70))
        else:
            put(img, x, y, (150, 160, 176) if py < 8 else (120, 130, 146))


def info(img):
    for x, y, px, py in each_pixel():
        d = math.hypot(px - 8, py - 8)
        if d <= 7.4:
            put(img, x, y, (20, 60, 150) if d > 6.5 else (40, 110, 210))
    for x, y in [(7, 3), (8, 3), (7, 4), (8, 4)]:
        put(img, x, y, (255, 255, 255))
    for yy in range(6, 13):
        for xx in (7, 8):
            put(img, xx, yy, (255, 255, 255))
    for xx in (6, 9):
        put(img, xx, 12, (255, 255, 255))
    put(img, 6, 6, (255, 255, 255))


def start(img):
    for x, y, px, py in each_pixel():
        d = math.hypot(px - 8, py - 8)
        if d <= 7.4:
            put(img, x, y, (16, 110, 40) if d > 6.5 else (40, 168, 72))
    # a white triangle pointing the way the work goes
    for x, y, px, py in each_pixel():
        if 5.5 <= px <= 12.0 and abs(py - 8) <= (12.0 - px) * 0.62:
            put(img, x, y, (255, 255, 255))


def document_search(img):
    for y in range(0, 14):
        for x in range(1, 11):
            edge = x in (1, 10) or y in (0, 13)
            put(img, x, y, (90, 96, 110) if edge else (255, 255, 255))
    for y in (3, 5, 7, 9):
        for x in range(3, 9):
            put(img, x, y, (150, 160, 180))
    magnifier(img, cx=9.5, cy=9.5, radius=3.6, handle_to=15.5)


def write_bmp(path, img):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        data = b''.join(bytes((b, g, r)) for (r, g, b) in img[y])
        rows.append(data + b'\0' * ((4 - len(data) % 4) % 4))
    pixels = b''.join(rows)
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


def picture(draw, *badges):
    img = canvas()
    draw(img)
    for pattern, colour in badges:
        badge(img, pattern, colour)
    return img


PICTURES = {
    'MDIForm1.cmdAddnew.PICN.bmp': picture(disc, (PLUS, (24, 150, 48))),
    'MDIForm1.cmdRemDisk.PICN.bmp': picture(disc, (CROSS, (200, 30, 30))),
    'MDIForm1.cmdFind.PICN.bmp': picture(magnifier),
    'MDIForm1.cmdSetting.PICN.bmp': picture(gear),
    'MDIForm1.cmdAbout.PICN.bmp': picture(info),
    'frmMain.cmdStart.PICN.bmp': picture(start),
    'frmFind.cmdDelete.PICN.bmp': picture(document_search),
}

if __name__ == '__main__':
    for name, img in PICTURES.items():
        write_bmp(os.path.join(FORMS, name), img)
        print(name)
