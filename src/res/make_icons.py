#!/usr/bin/env python3
"""Draw Tarnvell's icons and write them as classic 16-colour .ico files.

    python3 src/res/make_icons.py

writes tarnvell.ico (program icon 128) and tray.ico (notification-area icon
143) next to this script. Standard library only, so the icons can be
regenerated on any build machine.

Each file carries the classic 16-colour images (16x16, and 32x32 for the
program icon), which every Windows can show, and 32-bit images with an alpha
channel at 20, 24, 32 and 48 pixels for displays scaled to 125 %, 150 % and
200 %: the system picks the image of the size it asks for, and a 16x16
image stretched to 24 or 32 pixels looks blocky. The 32-bit images are drawn
from the same shapes, with 4x4 supersampling for smooth edges and a soft
shadow that only the alpha channel can carry.

The mark is a small desktop window (navy title bar, white client area)
showing an eye struck through in red: "this window is hidden".

File layout written here (the one every Windows version reads):
  ICONDIR, one ICONDIRENTRY per image, then per image a BITMAPINFOHEADER
  whose height is twice the icon height, the 16-entry RGBQUAD palette,
  the XOR bitmap at 4 bits per pixel bottom-up with rows padded to 4 bytes,
  and the AND mask at 1 bit per pixel (1 = transparent), rows padded to
  4 bytes as well. A 32-bit image has no palette; its XOR bitmap holds
  BGRA pixels and its AND mask marks the fully transparent ones.
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


# --- 32-bit images ---------------------------------------------------------
# The mark in unit coordinates (0..1, y downwards), as colours with alpha.
RGB = {k: PALETTE[v] for k, v in INK.items()}
SHADOW = 0.06          # the window leaves this much room for its shadow


def mark_at(u, v, px):
    """Colour (r, g, b, a) of the mark at (u, v); px is one pixel in units,
    so lines keep at least a pixel's width at every size."""
    w = 1.0 - SHADOW
    if not (0 <= u <= w and 0 <= v <= w):
        # Soft shadow below and to the right of the window.
        if SHADOW <= u <= 1 and SHADOW <= v <= 1:
            return (0, 0, 0, 90)
        return (0, 0, 0, 0)
    line = max(px, w / 16)
    if u < line or v < line or u > w - line or v > w - line:
        return RGB['k'] + (255,)
    title = w * 0.19
    if v < title:
        if w * 0.72 <= u <= w * 0.86 and title * 0.35 <= v <= title * 0.75:
            return RGB['w'] + (255,)
        # Navy fading to blue towards the right, as on the 32x32 image.
        t = min(1.0, max(0.0, (u - 0.1) / 0.7))
        n, b = RGB['n'], RGB['b']
        return tuple(int(n[i] + (b[i] - n[i]) * t) for i in range(3)) + (255,)
    if v < title + line:
        return RGB['k'] + (255,)
    # Client area: the eye, struck through in red.
    cx, cy = w * 0.5, w * 0.62
    slash = ((u - cx) + (v - cy)) / 1.4142
    if abs(slash) <= max(px, 0.065):
        return RGB['r'] + (255,)
    if abs(slash) <= max(px, 0.065) + max(px, 0.04):
        return RGB['w'] + (255,)
    hw, hh = w * 0.42, w * 0.22
    d = (hw * hw - hh * hh) / (2 * hh)
    r = hh + d

    def lens(shrink):
        rr = r - shrink
        return ((u - cx) ** 2 + (v - (cy + d)) ** 2 <= rr * rr and
                (u - cx) ** 2 + (v - (cy - d)) ** 2 <= rr * rr)

    if lens(0):
        if not lens(max(px, 0.05)):
            return RGB['k'] + (255,)
        rr = ((u - cx) ** 2 + (v - cy) ** 2) ** 0.5
        if rr <= w * 0.07:
            return RGB['k'] + (255,)
        if rr <= w * 0.15:
            return RGB['b'] + (255,)
        if rr <= w * 0.19:
            return RGB['n'] + (255,)
    return RGB['w'] + (255,)


def draw_rgba(size, samples=4):
    """Rows of (r, g, b, a) pixels, top row first."""
    px = 1.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) / size
                    v = (y + (sy + 0.5) / samples) / size
                    r, g, b, a = mark_at(u, v, px)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (samples * samples)
            if acc[3]:
                # Colours weighted by their coverage, not darkened by the
                # transparent samples.
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                            round(acc[2] / acc[3]), round(alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def encode_image_32(rows):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA XOR bitmap, AND mask."""
    size = len(rows)
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):        # bottom-up
        bits = bytearray(and_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += struct.pack('<BBBB', b, g, r, a)
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


HIDPI_SIZES = (20, 24, 32, 48)


def encode_ico(images):
    """images: 16-colour pixel art (lists of strings) and 32-bit images
    (lists of RGBA rows), in the order they are stored."""
    entries = []
    for img in images:
        if isinstance(img[0], str):
            entries.append((len(img), 16, 4, encode_image(img)))
        else:
            entries.append((len(img), 0, 32, encode_image_32(img)))
    out = bytearray(struct.pack('<HHH', 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, colours, bits, blob in entries:
        out += struct.pack('<BBBBHHII',
                           size % 256, size % 256,  # width, height
                           colours,                 # palette size, 0 for none
                           0,                       # reserved
                           1,                       # planes
                           bits,                    # bits per pixel
                           len(blob), offset)
        offset += len(blob)
    for _, _, _, blob in entries:
        out += blob
    return bytes(out)


def main(argv):
    outdir = os.path.dirname(os.path.abspath(__file__))
    if len(argv) > 1:
        outdir = argv[1]
    hidpi = [draw_rgba(n) for n in HIDPI_SIZES]
    files = {
        'tarnvell.ico': [WINDOW_EYE_16, draw_window_eye_32()] + hidpi,
        'tray.ico': [WINDOW_EYE_16] + hidpi,
    }
    for name, images in files.items():
        path = os.path.join(outdir, name)
        with open(path, 'wb') as f:
            f.write(encode_ico(images))
        print('wrote %s' % path)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
