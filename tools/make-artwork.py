#!/usr/bin/env python3
"""Generates Vexar's own icons and bitmaps from simple shapes into resources/art/.

Everything is drawn here: coloured discs, rounded tiles, a small 5x7 pixel font. No third-party
artwork or logo is used. Run it again after changing a shape and commit the results.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'art')

FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'C': ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'G': ["01111", "10000", "10000", "10011", "10001", "10001", "01111"],
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    'J': ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'Q': ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'W': ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    'Y': ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    'Z': ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    '0': ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    '1': ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    '2': ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    '3': ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    '!': ["00100", "00100", "00100", "00100", "00100", "00000", "00100"],
    '?': ["01110", "10001", "00001", "00010", "00100", "00000", "00100"],
    '+': ["00000", "00100", "00100", "11111", "00100", "00100", "00000"],
    '-': ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    'x': ["00000", "10001", "01010", "00100", "01010", "10001", "00000"],
    ' ': ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        self.px = [[fill for _ in range(w)] for _ in range(h)]  # None = transparent, else (r, g, b)

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def tile(self, c, border):
        w, h = self.w, self.h
        cut = max(1, w // 8)
        for y in range(h):
            for x in range(w):
                corner = min(x, w - 1 - x) + min(y, h - 1 - y)
                if corner >= cut:
                    edge = x == 0 or y == 0 or x == w - 1 or y == h - 1 or corner == cut
                    self.set(x, y, border if edge else c)

    def text(self, s, x, y, c, scale=1):
        for ch in s:
            glyph = FONT.get(ch, FONT[' '])
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == '1':
                        self.rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, c)
            x += 6 * scale

    def text_width(self, s, scale=1):
        return len(s) * 6 * scale - scale

    def centred_text(self, s, c, scale=1, dy=0):
        x = (self.w - self.text_width(s, scale)) // 2
        y = (self.h - 7 * scale) // 2 + dy
        self.text(s, x, y, c, scale)

    def line(self, x0, y0, x1, y1, c, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for t in range(thick):
                self.set(int(round(x)) + t, int(round(y)), c)


def dib(canvas, with_mask):
    """BITMAPINFOHEADER + 32-bit pixels (+ AND mask for icons), bottom-up."""
    w, h = canvas.w, canvas.h
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2 if with_mask else h, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            c = canvas.px[y][x]
            pixels += bytes((c[2], c[1], c[0], 255)) if c else bytes((0, 0, 0, 0))
    mask = bytearray()
    if with_mask:
        row_bytes = ((w + 31) // 32) * 4
        for y in reversed(range(h)):
            row = bytearray(row_bytes)
            for x in range(w):
                if canvas.px[y][x] is None:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
    return header + pixels + mask


def write_ico(name, draw):
    images = []
    for size in (16, 32):
        c = Canvas(size, size)
        draw(c)
        images.append((size, dib(c, True)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(out)


def write_bmp(name, canvas):
    # 24-bit bitmaps: toolbars and pictures have no alpha; transparent pixels become light grey.
    w, h = canvas.w, canvas.h
    row_bytes = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            c = canvas.px[y][x] or (192, 192, 192)
            row += bytes((c[2], c[1], c[0]))
        row += bytes(row_bytes - len(row))
        pixels += row
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(head + info + pixels)


WHITE, BLACK = (255, 255, 255), (0, 0, 0)
NAVY, BLUE, SKY = (20, 40, 110), (40, 90, 200), (120, 170, 240)
RED, GREEN, GOLD, GREY = (200, 40, 40), (30, 150, 60), (230, 180, 30), (120, 120, 120)


def tile_icon(colour, label):
    def draw(c):
        c.tile(colour, BLACK)
        if c.w >= 32:
            c.centred_text(label, WHITE, 2 if len(label) <= 2 else 1)
        else:
            c.centred_text(label[:2], WHITE, 1)
    return draw


def disc_icon(colour, label=None, mark=None):
    def draw(c):
        r = c.w / 2 - 0.5
        c.disc(c.w / 2, c.h / 2, r, BLACK)
        c.disc(c.w / 2, c.h / 2, r - max(1, c.w // 16), colour)
        if label:
            c.centred_text(label, WHITE, 1 if c.w == 16 else 2)
        if mark:
            mark(c)
    return draw


def program_icon(c):
    c.disc(c.w / 2, c.h / 2, c.w / 2 - 0.5, NAVY)
    c.disc(c.w / 2, c.h / 2, c.w / 2 - 0.5 - c.w / 10, BLUE)
    s = c.w / 16
    c.line(int(4 * s), int(4 * s), int(8 * s), int(12 * s), WHITE, max(1, int(2 * s)))
    c.line(int(8 * s), int(12 * s), int(12 * s), int(4 * s), WHITE, max(1, int(2 * s)))


def lock_icon(c):
    s = c.w // 16
    c.rect(3 * s, 7 * s, 13 * s, 15 * s, GOLD)
    c.rect(5 * s, 2 * s, 11 * s, 4 * s, GREY)
    c.rect(4 * s, 3 * s, 6 * s, 8 * s, GREY)
    c.rect(10 * s, 3 * s, 12 * s, 8 * s, GREY)
    c.rect(7 * s, 10 * s, 9 * s, 13 * s, BLACK)


def arrow_icon(up):
    def draw(c):
        s = c.w / 16
        for i in range(6):
            y = int((4 + i) * s) if up else int((11 - i) * s)
            c.rect(int((8 - i) * s), y, int((8 + i) * s), y + max(1, int(s)), GREEN if up else RED)
    return draw


def star_icon(colour):
    def draw(c):
        s = c.w / 16
        c.disc(8 * s, 8 * s, 3 * s, colour)
        for dx, dy in ((0, -6), (6, -1), (4, 6), (-4, 6), (-6, -1)):
            c.line(int(8 * s), int(8 * s), int((8 + dx) * s), int((8 + dy) * s), colour, max(1, int(2 * s)))
    return draw


def person_icon(colour):
    def draw(c):
        s = c.w / 16
        c.disc(8 * s, 5 * s, 3 * s, colour)
        c.disc(8 * s, 15 * s, 6 * s, colour)
    return draw


def refresh_icon(c):
    s = c.w / 16
    c.disc(8 * s, 8 * s, 6 * s, SKY)
    c.disc(8 * s, 8 * s, 3.5 * s, None if False else WHITE)
    c.rect(int(8 * s), int(1 * s), int(15 * s), int(8 * s), WHITE)
    c.rect(int(9 * s), int(2 * s), int(13 * s), int(4 * s), BLUE)


def glyph_strip(glyphs):
    """A toolbar strip: one 16 x 16 image a (glyph, colour), a white glyph on a coloured disc."""
    strip = Canvas(16 * len(glyphs), 16, (192, 192, 192))
    for i, (g, col) in enumerate(glyphs):
        sub = Canvas(16, 16, (192, 192, 192))
        sub.disc(8, 8, 7.5, col)
        sub.centred_text(g, WHITE)
        for y in range(16):
            for x in range(16):
                strip.px[y][16 * i + x] = sub.px[y][x]
    return strip


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico('vexar.ico', program_icon)
    write_ico('rcon.ico', disc_icon(RED, 'RC'))
    write_ico('find.ico', disc_icon(GREEN, '?'))
    write_ico('join.ico', disc_icon(GREEN, 'J'))
    write_ico('monitor_refreshing.ico', disc_icon(GREEN, 'R'))
    write_ico('monitor_waiting.ico', disc_icon(GREY, 'W'))
    # Game icons, in tab image-list order (icon index 0..21).
    games = [('ef', (60, 60, 160), 'EF'), ('rtcw', (110, 70, 40), 'RW'), ('q3a', (150, 30, 30), 'Q3'),
             ('jk2', (30, 110, 60), 'JK'), ('hl', (220, 120, 20), 'HL'), ('sof2', (90, 90, 90), 'SF'),
             ('mohaa', (70, 90, 50), 'MH'), ('ccr', (160, 140, 40), 'CC'), ('ut', (40, 40, 40), 'UT'),
             ('oa', (200, 80, 20), 'OA'), ('ioq3', (120, 20, 20), 'IQ'), ('urt', (40, 90, 140), 'UR'),
             ('etl', (70, 80, 40), 'ET'), ('xon', (30, 120, 160), 'XO'), ('nex', (100, 40, 130), 'NX'),
             ('hls', (200, 100, 30), 'HS'), ('css', (60, 100, 130), 'CS'), ('tf2', (170, 60, 40), 'TF'),
             ('cs2', (40, 70, 110), 'C2'), ('dods', (90, 100, 60), 'DS'), ('gmod', (30, 100, 200), 'GM'),
             ('l4d2', (150, 30, 30), 'LD')]
    for short, colour, label in games:
        write_ico('game_%s.ico' % short, tile_icon(colour, label))
    # The Join dialog's game pictures.
    for short, colour, label in games:
        picture = Canvas(96, 64, colour)
        picture.rect(3, 3, 92, 60, tuple(min(255, c + 40) for c in colour))
        picture.centred_text(label, WHITE, 4, -6)
        picture.text('JOIN', 36, 50, WHITE, 1)
        write_bmp('join_%s.bmp' % short, picture)
    write_ico('server.ico', tile_icon(BLUE, 'S'))
    write_ico('server_full.ico', tile_icon(RED, 'S'))
    write_ico('lock.ico', lock_icon)
    write_ico('sort_up.ico', arrow_icon(True))
    write_ico('sort_down.ico', arrow_icon(False))
    write_ico('no_reply.ico', disc_icon(GREY, 'x'))
    write_ico('favourite.ico', star_icon(GOLD))
    write_ico('auto_refresh.ico', refresh_icon)
    write_ico('bot.ico', disc_icon(GREY, 'B'))
    write_ico('buddy_offline.ico', person_icon(GREY))

    # Toolbar strip: 14 images of 16 x 16 in image-number order.
    glyphs = ['R', 'R', 'J', 'M', 'X', 'F', 'B', 'W', 'G', 'F', 'C', 'S', '-', '+']
    colours = [SKY, BLUE, GREEN, GOLD, RED, GREEN, (200, 100, 200), BLUE, NAVY, GREY, RED, RED, RED, GREEN]
    write_bmp('toolbar.bmp', glyph_strip(list(zip(glyphs, colours))))
    # The remote-control toolbar: Server Props, Change Map, Refresh, Server Info, Clear Log.
    write_bmp('rcon_toolbar.bmp', glyph_strip([('P', BLUE), ('M', GREEN), ('R', SKY), ('I', NAVY), ('C', RED)]))

    logo = Canvas(122, 40, NAVY)
    logo.rect(2, 2, 120, 38, BLUE)
    logo.centred_text('VEXAR!', WHITE, 3)
    write_bmp('logo.bmp', logo)

    banner = Canvas(468, 60, NAVY)
    banner.rect(3, 3, 465, 57, (30, 60, 140))
    banner.text('VEXAR! GAME SERVER BROWSER', 20, 15, WHITE, 2)
    banner.text('FIND THEM PLAY THEM', 20, 38, SKY, 1)
    write_bmp('banner.bmp', banner)


if __name__ == '__main__':
    main()
