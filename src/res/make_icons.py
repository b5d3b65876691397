#!/usr/bin/env python3
"""Draw Tarnvell's icons and write them as classic 16-colour .ico files.

    python3 src/res/make_icons.py

writes tarnvell.ico (program icon 128: 16x16 and 32x32) and tray.ico
(notification-area icon 143: 16x16) next to this script. Standard library
only, so the icons can be regenerated on any build machine.

The mark is a small desktop window (navy title bar, white client area)
showing an eye struck through in red: "this window is hidden".

File layout written here (the one every Windows version reads):
  ICONDIR, one ICONDIRENTRY per image, then per image a BITMAPINFOHEADER
  whose height is twice the icon height, the 16-entry RGBQUAD palette,
  the XOR bitmap at 4 bits per pixel bottom-up with rows padded to 4 bytes,
  and the AND mask at 1 bit per pixel (1 = transparent), rows padded to
  4 bytes as well.
"""

import os
import struct
import sys

# The 16 standard Windows colours in their usual palette order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0  black
    (0x80, 0x00, 0x00),  # 1  maroon
    (0x00, 0x80, 0x00),  # 2  green
    (0x80, 0x80, 0x00),  # 3  olive
    (0x00, 0x00, 0x80),  # 4  navy
    (0x80, 0x00, 0x80),  # 5  purple
    (0x00, 0x80, 0x80),  # 6  teal
    (0xC0, 0xC0, 0xC0),  # 7  silver
    (0x80, 0x80, 0x80),  # 8  grey
    (0xFF, 0x00, 0x00),  # 9  red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# Pixel-art alphabet: one character per pixel, '.' is transparent.
INK = {
    'k': 0,   # black
    'm': 1,   # maroon
    'G': 2,   # green
    'o': 3,   # olive
    'n': 4,   # navy
    'p': 5,   # purple
    't': 6,   # teal
    's': 7,   # silver
    'g': 8,   # grey
    'r': 9,   # red
    'l': 10,  # lime
    'y': 11,  # yellow
    'b': 12,  # blue
    'f': 13,  # fuchsia
    'c': 14,  # aqua
    'w': 15,  # white
}
CLEAR = '.'

# 16x16, drawn pixel by pixel. Used for the small program icon and for the
# tray icon: the whole cell is used so the mark stays readable in the
# notification area; the black frame keeps it apart from light taskbars and
# the white client area from dark ones.
WINDOW_EYE_16 = [
    "kkkkkkkkkkkkkkkk",
    "knnnnnnnnnnnnnnk",
    "knnnnnnnnnnnwwnk",
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwrrwk",
    "kwwwwwwwwwwrrwwk",
    "kwwwwkkkkkrrwwwk",
    "kwwkkwwbbrrkkwwk",
    "kwkwwwbbrrwwwkwk",
    "kkwwwwbrrbwwwwkk",
    "kwkwwwrrbbwwwkwk",
    "kwwkkrrbbwwkkwwk",
    "kwwwrrkkkkkwwwwk",
    "kwwrrwwwwwwwwwwk",
    "kwrrwwwwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
]


def blank(size):
    return [[CLEAR] * size for _ in range(size)]


def draw_window_eye_32():
    """The 32x32 program icon: the same mark with a shaded title bar, a
    close box, a soft shadow and a rounder eye."""
    n = 32
    img = blank(n)

    def put(x, y, c):
        if 0 <= x < n and 0 <= y < n:
            img[y][x] = c

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                put(x, y, c)

    # Window: frame x 0..30, y 0..30; one-pixel grey shadow below and right.
    fill(2, 31, 31, 31, 'g')
    fill(31, 2, 31, 31, 'g')
    fill(0, 0, 30, 30, 'k')
    fill(1, 9, 29, 29, 'w')          # client area

    # Title bar y 1..7: navy fading into blue (ordered dither); the black
    # rule at y 8 separates it from the client area.
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    for y in range(1, 8):
        for x in range(1, 30):
            level = (x - 4) * 16 // 16    # all navy left of x=4, blue by x=20
            put(x, y, 'b' if bayer[y % 4][x % 4] < level else 'n')
    # Caption text hint.
    fill(3, 4, 13, 5, 'w')
    # Close box: raised silver button with a small black cross.
    fill(21, 2, 28, 6, 's')
    fill(21, 2, 27, 2, 'w')
    fill(21, 2, 21, 5, 'w')
    fill(22, 6, 28, 6, 'g')
    fill(28, 3, 28, 6, 'g')
    for x, y in ((23, 3), (26, 3), (24, 4), (25, 4), (23, 5), (26, 5)):
        put(x, y, 'k')

    # Eye: a lens shape (intersection of two discs) centred in the client
    # area, black outline (doubled on the upper lid), blue iris with a navy
    # rim, black pupil with a catch-light.
    cx, cy = 15.5, 19.0
    half_w, half_h = 12.5, 7.0
    d = (half_w * half_w - half_h * half_h) / (2 * half_h)
    r2 = (half_h + d) ** 2

    def in_lens(px, py):
        fx, fy = px + 0.5, py + 0.5
        return ((fx - cx) ** 2 + (fy - (cy + d)) ** 2 <= r2 and
                (fx - cx) ** 2 + (fy - (cy - d)) ** 2 <= r2)

    for y in range(9, 30):
        for x in range(1, 30):
            if not in_lens(x, y):
                continue
            edge = any(not in_lens(x + dx, y + dy)
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            upper = y + 0.5 < cy and not in_lens(x, y - 2)
            fx, fy = x + 0.5 - cx, y + 0.5 - cy
            rr = fx * fx + fy * fy
            if edge or upper:
                put(x, y, 'k')
            elif rr <= 2.5 ** 2:
                put(x, y, 'k')
            elif rr <= 4.6 ** 2:
                put(x, y, 'b')
            elif rr <= 5.8 ** 2:
                put(x, y, 'n')
    put(13, 17, 'w')                   # catch-light
    put(14, 17, 'w')
    put(13, 18, 'w')

    # Red stroke from the top right to the bottom left of the client area,
    # three pixels wide, with a one-pixel white gap either side.
    for y in range(8, 30):
        for x in range(1, 30):
            t = (x + 0.5 - cx) + (y + 0.5 - cy)
            if abs(t) <= 1.5:
                put(x, y, 'r')
            elif abs(t) <= 2.5:
                put(x, y, 'w')
    return [''.join(row) for row in img]


def check(rows, size):
    if len(rows) != size or any(len(r) != size for r in rows):
        raise ValueError('image is not %dx%d' % (size, size))
    for r in rows:
        for ch in r:
            if ch != CLEAR and ch not in INK:
                raise ValueError('unknown pixel %r' % ch)


def encode_image(rows):
    """One icon image: BITMAPINFOHEADER + palette + XOR bitmap + AND mask."""
    size = len(rows)
    check(rows, size)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4

    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):        # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, ch in enumerate(row):
            if ch == CLEAR:
                idx = 0                    # black XOR over a set mask bit
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                idx = INK[ch]
            if x % 2 == 0:
                line[x // 2] |= idx << 4
            else:
                line[x // 2] |= idx
        xor += line
        mask += bits

    header = struct.pack('<IiiHHIIiiII',
                         40,               # biSize
                         size,             # biWidth
                         size * 2,         # biHeight: XOR + AND
                         1,                # biPlanes
                         4,                # biBitCount
                         0,                # biCompression = BI_RGB
                         len(xor) + len(mask),
                         0, 0,             # resolution
                         16,               # biClrUsed
                         0)                # biClrImportant
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0)
                       for (r, g, b) in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def encode_ico(images):
    blobs = [encode_image(rows) for rows in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for rows, blob in zip(images, blobs):
        size = len(rows)
        out += struct.pack('<BBBBHHII',
                           size % 256, size % 256,  # width, height
                           16,                      # colours in the palette
                           0,                       # reserved
                           1,                       # planes
                           4,                       # bits per pixel
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def main(argv):
    outdir = os.path.dirname(os.path.abspath(__file__))
    if len(argv) > 1:
        outdir = argv[1]
    files = {
        'tarnvell.ico': [WINDOW_EYE_16, draw_window_eye_32()],
        'tray.ico': [WINDOW_EYE_16],
    }
    for name, images in files.items():
        path = os.path.join(outdir, name)
        with open(path, 'wb') as f:
            f.write(encode_ico(images))
        print('wrote %s' % path)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
