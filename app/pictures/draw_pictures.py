#!/usr/bin/env python3
"""Draw Mirvale's window icon, button pictures and pointer.

Every picture below is a grid of characters, one character per pixel, with
its own palette: '.' is always transparent, every other character maps to an
'#rrggbb' colour.  Edit a grid, run

    python3 app/pictures/draw_pictures.py

and every file in this folder is written again, byte for byte the same for
the same grids.  Only the Python 3 standard library is used.

Files written:
  mirvale.ico            window icon: 16x16 at 24 bpp (PNG-compressed entry,
                         see ico_file) and 32x32 at 8 bpp (256-colour
                         palette, BMP DIB with an AND mask)
  mirvale-NN.png         the same icon for the desktop theme (RGBA)
  abacus.png, abacus-moved.png, door-closed.png, door-open.png
                         16x16 button pictures, 4-bit indexed PNG with tRNS
  hand.ico, hand.hotspot pointing-hand pointer, 32x32 at 4 bpp, and its
                         hot spot as "x,y"
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------------------
# Pictures
# ---------------------------------------------------------------------------

# Window icon: an Erlenmeyer flask with blue liquid, a test tube with red
# liquid, green-rimmed bubbles rising.
GLASSWARE_COLOURS = {
    '.': None,
    'k': '#1b2232',  # outline
    'w': '#ffffff',  # glint on the glass
    'g': '#dcecf6',  # empty glass
    'G': '#a6c3d8',  # empty glass, shaded side
    'c': '#7cc2ff',  # blue liquid, surface and lit edge
    'b': '#2f7bd8',  # blue liquid
    'B': '#1a4c98',  # blue liquid, shaded
    'p': '#ff8f7e',  # red liquid, surface and lit edge
    'r': '#dd3434',  # red liquid
    'R': '#96192a',  # red liquid, shaded
    'e': '#2c9a44',  # bubble rim
    'h': '#dff7d6',  # inside of a bubble
    'E': '#93d69e',  # bubble rim, softened corner
}

GLASSWARE_16 = [
    '....ee..........',
    '...ewhe.....EeE.',
    '...ehhe.....ehe.',
    '....ee......EeE.',
    '...kkkkk........',
    '...kwgGk....kkkk',
    '...kwgGk....kwgk',
    '..kwgggGk...kwgk',
    '..kccccck...kppk',
    '.kcbbbbbBk..kprk',
    '.kcbbbbbBk..kprk',
    'kcbbbbbbbBk.kprk',
    'kcbbbbbbbBk.kprk',
    'kcbbbbbbbBk.krRk',
    'kBBBBBBBBBk.kRRk',
    '.kkkkkkkkk...kk.',
]

GLASSWARE_32 = [
    '................................',
    '..........ee....................',
    '.........ewhe.............ee....',
    '.........ehhe............ewhe...',
    '..........ee.............ehhe...',
    '.......kkkkkkkk...........ee....',
    '.......kwggggGk.......kkkkkkkkk.',
    '.......kkwggGkk........kwgggGk..',
    '........kwggGk.........kwgggGk..',
    '........kwggGk.........kwgggGk..',
    '........kwggGk.........kwgggGk..',
    '........kwggGk.........kwgggGk..',
    '........kwggGk.........kwgggGk..',
    '........kwggGk.........kwgggGk..',
    '.......kwggggGk........kwgggGk..',
    '.......kwggggGk........kwgggGk..',
    '......kwgggggGGk.......kpppppk..',
    '......kwgggggGGk.......kprrrRk..',
    '.....kcccccccccck......kprrrRk..',
    '.....kcbbbbbbbBBk......kprrrRk..',
    '....kcbbbbbbbbbBBk.....kprrrRk..',
    '....kcbbbbbeebbBBk.....kprrrRk..',
    '...kcbbbbbewhebbBBk....kprrrRk..',
    '...kcbbbbbehhebbBBk....kprrrRk..',
    '..kcbbbbbbbeebbbbBBk...kprrrRk..',
    '..kcbbbbebbbbbbbbBBk...kprrrRk..',
    '.kcbbbbehebbbbbbbbBBk..kprrrRk..',
    '.kcbbbbbebbbbbbbbbBBk..kprrrRk..',
    '.kcbbbbbbbbbbbbbbbBBk..kRrrRRk..',
    '.kBBBBBBBBBBBBBBBBBBk...kRRRk...',
    '..kkkkkkkkkkkkkkkkkk.....kkk....',
    '................................',
]

# The same glassware redrawn at 48 x 48 for the desktop icon theme.
GLASSWARE_48 = [
    '................................................',
    '......................ee........................',
    '...............eeee..ewhe.......................',
    '..............ewhhhe.ehhe.......................',
    '..............ehhhhe..ee................eee.....',
    '..............ehhhhe...................ewhhe....',
    '..............ehhhhe...................ehhhe....',
    '...............eeee....................ehhhe....',
    '...........kkkkkkkkkkkk.................eee.....',
    '...........kwggggggggGk.........................',
    '...........kkkwggggGkkk.............kkkkkkkkkkk.',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '.............kwggggGk................kwggggGGk..',
    '............kwgggggGGk...............kwggggGGk..',
    '............kwgggggGGk...............kwggggGGk..',
    '...........kwgggggggGGk..............kpppppppk..',
    '...........kwgggggggGGk..............kprrrrRRk..',
    '..........kwgggggggggGGk.............kprrrrRRk..',
    '..........kwgggggggggGGk.............kprrrrRRk..',
    '.........kwgggggggggggGGk............kprrrrRRk..',
    '.........kcccccccccccccck............kprrrrRRk..',
    '........kcbbbbbbbbbbbbBBBk...........kprrrrRRk..',
    '........kcbbbbbbbbbbbbBBBk...........kprrrrRRk..',
    '.......kcbbbbbbbbbbbbbbBBBk..........kprrrrRRk..',
    '.......kcbbbbbbbbeeeebbBBBk..........kprrrrRRk..',
    '......kcbbbbbbbbewhhhebbBBBk.........kprrrrRRk..',
    '......kcbbbbbbbbehhhhebbBBBk.........kprrrrRRk..',
    '.....kcbbbbbbbbbehhhhebbbBBBk........kprrrrRRk..',
    '.....kcbbbbbbbbbehhhhebbbBBBk........kprrrrRRk..',
    '....kcbbbbbbbbbbbeeeebbbbbBBBk.......kprrrrRRk..',
    '....kcbbbbbbbbbbbbbbbbbbbbBBBk.......kprrrrRRk..',
    '...kcbbbbbeebbbbbbbbbbbbbbbBBBk......kprrrrRRk..',
    '...kcbbbbewhebbbbbbbbbbbbbbBBBk......kprrrrRRk..',
    '..kcbbbbbehhebbbbbbbbbbbbbbbBBBk.....kprrrrRRk..',
    '..kcbbbbbbeebbbbbbbbbbbbbbbbBBBk.....kprrrrRRk..',
    '..kcbbbbbbbbbbbbbbbbbbbbbbbbBBBk.....kprrrrRRk..',
    '..kcbbbbbbbbbbbbbbbbbbbbbbbbBBBk......kRrrRRk...',
    '..kBBBBBBBBBBBBBBBBBBBBBBBBBBBBk.......kRRRk....',
    '...kkkkkkkkkkkkkkkkkkkkkkkkkkkk.........kkk.....',
    '................................................',
]

# Button picture: an abacus, and the same abacus after counting.
ABACUS_COLOURS = {
    '.': None,
    'k': '#2a1a10',  # outline
    'O': '#e8aa62',  # wood, lit
    'o': '#b86c2a',  # wood
    'd': '#7a4216',  # wood, shaded
    's': '#8a8f98',  # rod
    'p': '#ff8a7c',  # red bead, lit
    'r': '#dc3028',  # red bead
    'R': '#8a1612',  # red bead, shaded
    'c': '#9ad2ff',  # blue bead, lit
    'b': '#2f7ae0',  # blue bead
    'B': '#173f8c',  # blue bead, shaded
    'l': '#a6ec84',  # green bead, lit
    'n': '#3aa83a',  # green bead
    'N': '#1c6420',  # green bead, shaded
}

ABACUS = [
    '................',
    'kkkkkkkkkkkkkkkk',
    'kOOOOOOOOOOOOOOk',
    'ko.pr..pr.....ok',
    'korrrRrrrRssssok',
    'ko.RR..RR.....ok',
    'ko............ok',
    'ko.cb.....cb..ok',
    'kobbbBssssbbbBok',
    'ko.BB.....BB..ok',
    'ko............ok',
    'ko.ln..ln.....ok',
    'konnnNnnnNssssok',
    'ko.NN..NN.....ok',
    'kddddddddddddddk',
    'kkkkkkkkkkkkkkkk',
]

ABACUS_MOVED = [
    '................',
    'kkkkkkkkkkkkkkkk',
    'kOOOOOOOOOOOOOOk',
    'ko.....pr..pr.ok',
    'kossssrrrRrrrRok',
    'ko.....RR..RR.ok',
    'ko............ok',
    'ko.cb.....cb..ok',
    'kobbbBssssbbbBok',
    'ko.BB.....BB..ok',
    'ko............ok',
    'ko.ln.....ln..ok',
    'konnnNssssnnnNok',
    'ko.NN.....NN..ok',
    'kddddddddddddddk',
    'kkkkkkkkkkkkkkkk',
]

# Button picture: a door with a cyan arrow leaving it to the left.
DOOR_COLOURS = {
    '.': None,
    'k': '#1c1d26',  # outline
    'f': '#c2c4cc',  # door frame
    'O': '#e3a35e',  # door leaf, lit
    'o': '#b0692c',  # door leaf
    'd': '#6c3914',  # door leaf, shaded and panel edges
    'y': '#ffd43a',  # knob
    'n': '#232a44',  # dark doorway
    'C': '#c8fbff',  # arrow, lit
    'c': '#1fd2ec',  # arrow
    'D': '#0a8aa3',  # arrow, shaded
}

DOOR_CLOSED = [
    '.....kkkkkkkkkkk',
    '.....kfffffffffk',
    '.....kfdddddddfk',
    '.....kfdOoooodfk',
    '...k.kfdOdddodfk',
    '..kCkkkkkkododfk',
    '.kCCCCCCCkododfk',
    'kcccccccckddodfk',
    '.kDDDDDDDkooodfk',
    '..kDkkkkkkooodfk',
    '...k.kfdOdddodfk',
    '.....kfdydododfk',
    '.....kfdOdododfk',
    '.....kfdOdddodfk',
    '.....kfdOoooodfk',
    '.....kkkkkkkkkkk',
]

DOOR_OPEN = [
    '.....kkkkkkkkkkk',
    '.....kfffffffffk',
    '.....kfnnnnnndfk',
    '.....kfnnnnndofk',
    '...k.kfnnnndOofk',
    '..kCkkkkkkndOofk',
    '.kCCCCCCCkndOofk',
    'kcccccccckndOofk',
    '.kDDDDDDDkndyofk',
    '..kDkkkkkkndOofk',
    '...k.kfnnnndOofk',
    '.....kfnnnndOofk',
    '.....kfnnnndOofk',
    '.....kfnnnnndofk',
    '.....kfnnnnnndfk',
    '.....kkkkkkkkkkk',
]

# Pointer: a hand with the index finger pointing up.
HAND_COLOURS = {
    '.': None,
    'k': '#101010',  # outline
    'w': '#ffffff',  # glove
    's': '#b4bcc8',  # glove, shaded
}

HAND = [
    '.......kkkk.....................',
    '......kwwwwk....................',
    '......kwwwsk....................',
    '......kwwwsk....................',
    '......kwwwsk....................',
    '......kwwwsk....................',
    '......kwwwskkkk.................',
    '......kwwwskwwskkkk.............',
    '......kwwwskwwskwwskkk..........',
    '......kwwwskwwskwwskwwk.........',
    '......kwwwskwwskwwskwwk.........',
    '......kwwwwkwwwkwwwkwwk.........',
    '.kkk..kwwwwwwwwwwwwwwsk.........',
    'kwwwk.kwwwwwwwwwwwwwwsk.........',
    'kwwwwkkwwwwwwwwwwwwwwsk.........',
    '.kwwwskwwwwwwwwwwwwwwsk.........',
    '..kwwwwwwwwwwwwwwwwwwsk.........',
    '..kwwwwwwwwwwwwwwwwwwsk.........',
    '...kwwwwwwwwwwwwwwwwssk.........',
    '....kwwwwwwwwwwwwwwwsk..........',
    '.....kwwwwwwwwwwwwwwsk..........',
    '......kwwwwwwwwwwwwssk..........',
    '......kwwwwwwwwwwwwsk...........',
    '......kkkkkkkkkkkkkkk...........',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
]
# The pixel that clicks: the top of the index finger, as (x, y).
HAND_HOTSPOT = (8, 0)


# ---------------------------------------------------------------------------
# Grid handling
# ---------------------------------------------------------------------------

def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def check_grid(name, rows, colours, width, height):
    if len(rows) != height:
        raise SystemExit('%s: %d rows, expected %d' % (name, len(rows), height))
    for y, row in enumerate(rows):
        if len(row) != width:
            raise SystemExit('%s row %d: %d pixels, expected %d'
                             % (name, y, len(row), width))
        for x, ch in enumerate(row):
            if ch not in colours:
                raise SystemExit('%s (%d,%d): %r has no colour' % (name, x, y, ch))


def used_palette(rows, colours):
    """Characters in palette order, transparent first, only those used."""
    used = {ch for row in rows for ch in row}
    order = ['.'] + [ch for ch in colours if ch != '.' and ch in used]
    return order


def rgba_rows(rows, colours):
    out = []
    for row in rows:
        line = []
        for ch in row:
            colour = colours[ch]
            line.append((0, 0, 0, 0) if colour is None else hex_rgb(colour) + (255,))
        out.append(line)
    return out


def scaled(rows, factor):
    """Nearest-neighbour enlargement of a grid by a whole factor."""
    out = []
    for row in rows:
        line = ''.join(ch * factor for ch in row)
        out.extend([line] * factor)
    return out


# ---------------------------------------------------------------------------
# PNG
# ---------------------------------------------------------------------------

def png_chunk(tag, data):
    body = tag + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)


def png_file(width, height, bit_depth, colour_type, scanlines, extra_chunks=()):
    raw = b''.join(b'\x00' + line for line in scanlines)
    ihdr = struct.pack('>IIBBBBB', width, height, bit_depth, colour_type, 0, 0, 0)
    data = b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', ihdr)
    for tag, body in extra_chunks:
        data += png_chunk(tag, body)
    data += png_chunk(b'IDAT', zlib.compress(raw, 9)) + png_chunk(b'IEND', b'')
    return data


def png_rgba(rows, colours):
    pixels = rgba_rows(rows, colours)
    lines = [bytes(v for px in line for v in px) for line in pixels]
    return png_file(len(rows[0]), len(rows), 8, 6, lines)


def png_indexed4(rows, colours):
    order = used_palette(rows, colours)
    if len(order) > 16:
        raise SystemExit('more than 16 colours in a 4-bit picture')
    index = {ch: i for i, ch in enumerate(order)}
    plte = b''.join(bytes((0, 0, 0) if colours[ch] is None else hex_rgb(colours[ch]))
                    for ch in order)
    trns = b'\x00'  # entry 0 is the transparent one, the rest are opaque
    lines = []
    for row in rows:
        values = [index[ch] for ch in row]
        if len(values) % 2:
            values.append(0)
        lines.append(bytes((values[i] << 4) | values[i + 1] for i in range(0, len(values), 2)))
    return png_file(len(rows[0]), len(rows), 4, 3, lines,
                    [(b'PLTE', plte), (b'tRNS', trns)])


# ---------------------------------------------------------------------------
# ICO: BMP DIB entries with an XOR image and an AND mask
# ---------------------------------------------------------------------------

def and_mask(rows):
    stride = ((len(rows[0]) + 31) // 32) * 4
    out = b''
    for row in reversed(rows):                     # DIB rows run bottom-up
        bits = bytearray(stride)
        for x, ch in enumerate(row):
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def dib_entry(rows, colours, bit_count):
    """One icon image as BITMAPINFOHEADER + palette + XOR bits + AND bits."""
    width, height = len(rows[0]), len(rows)
    stride = ((width * bit_count + 31) // 32) * 4
    palette = b''
    xor = b''
    if bit_count == 24:
        for row in reversed(rows):
            line = bytearray()
            for ch in row:
                r, g, b = (0, 0, 0) if colours[ch] is None else hex_rgb(colours[ch])
                line += bytes((b, g, r))
            xor += bytes(line) + b'\x00' * (stride - len(line))
    else:
        order = used_palette(rows, colours)
        size = 1 << bit_count
        if len(order) > size:
            raise SystemExit('too many colours for %d bits' % bit_count)
        index = {ch: i for i, ch in enumerate(order)}
        for ch in order:
            r, g, b = (0, 0, 0) if colours[ch] is None else hex_rgb(colours[ch])
            palette += bytes((b, g, r, 0))
        palette += b'\x00\x00\x00\x00' * (size - len(order))
        per_byte = 8 // bit_count
        for row in reversed(rows):
            line = bytearray()
            values = [index[ch] for ch in row]
            for i in range(0, width, per_byte):
                byte = 0
                for j in range(per_byte):
                    v = values[i + j] if i + j < width else 0
                    byte |= v << (8 - bit_count * (j + 1))
                line.append(byte)
            xor += bytes(line) + b'\x00' * (stride - len(line))
    mask = and_mask(rows)
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bit_count, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + palette + xor + mask


def png_rgb_keyed(rows, colours):
    """A 24-bit RGB PNG whose transparent pixels carry a key colour named in tRNS."""
    used = {hex_rgb(c) for c in colours.values() if c is not None}
    key = next(c for c in ((255, 0, 255), (0, 255, 0), (1, 2, 3)) if c not in used)
    lines = []
    for row in rows:
        line = bytearray()
        for ch in row:
            line += bytes(key if colours[ch] is None else hex_rgb(colours[ch]))
        lines.append(bytes(line))
    trns = struct.pack('>HHH', *key)
    return png_file(len(rows[0]), len(rows), 8, 2, lines, [(b'tRNS', trns)])


def ico_file(images):
    """images: list of (rows, colours, bit_count, storage).

    storage 'dib' stores a BMP DIB with XOR bits and an AND mask; 'png'
    stores a PNG (only 24-bit RGB with a tRNS key colour is used here).
    Qt's ICO reader (6.4) applies the AND mask only to palette entries
    (1, 4 and 8 bits); a 24-bit DIB entry comes out opaque with a black
    background.  The 24-bit 16x16 image is therefore stored as PNG, which
    Qt, Windows (Vista on) and the freedesktop tools all read with its
    transparency.
    """
    entries = []
    blobs = []
    offset = 6 + 16 * len(images)
    for rows, colours, bit_count, storage in images:
        if storage == 'png':
            if bit_count != 24:
                raise SystemExit('only 24-bit PNG entries are written')
            blob = png_rgb_keyed(rows, colours)
        else:
            blob = dib_entry(rows, colours, bit_count)
        width, height = len(rows[0]), len(rows)
        colour_count = (1 << bit_count) if bit_count < 8 else 0
        entries.append(struct.pack('<BBBBHHII', width % 256, height % 256, colour_count, 0,
                                   1, bit_count, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)


# ---------------------------------------------------------------------------

def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def main():
    pictures = [
        ('GLASSWARE_16', GLASSWARE_16, GLASSWARE_COLOURS, 16),
        ('GLASSWARE_32', GLASSWARE_32, GLASSWARE_COLOURS, 32),
        ('GLASSWARE_48', GLASSWARE_48, GLASSWARE_COLOURS, 48),
        ('ABACUS', ABACUS, ABACUS_COLOURS, 16),
        ('ABACUS_MOVED', ABACUS_MOVED, ABACUS_COLOURS, 16),
        ('DOOR_CLOSED', DOOR_CLOSED, DOOR_COLOURS, 16),
        ('DOOR_OPEN', DOOR_OPEN, DOOR_COLOURS, 16),
        ('HAND', HAND, HAND_COLOURS, 32),
    ]
    for name, rows, colours, size in pictures:
        check_grid(name, rows, colours, size, size)

    write('mirvale.ico', ico_file([(GLASSWARE_16, GLASSWARE_COLOURS, 24, 'png'),
                                   (GLASSWARE_32, GLASSWARE_COLOURS, 8, 'dib')]))
    write('mirvale-16.png', png_rgba(GLASSWARE_16, GLASSWARE_COLOURS))
    write('mirvale-32.png', png_rgba(GLASSWARE_32, GLASSWARE_COLOURS))
    write('mirvale-48.png', png_rgba(GLASSWARE_48, GLASSWARE_COLOURS))
    # 64 and 128 are the 32 x 32 drawing with every pixel doubled or
    # quadrupled, which keeps the edges hard.
    write('mirvale-64.png', png_rgba(scaled(GLASSWARE_32, 2), GLASSWARE_COLOURS))
    write('mirvale-128.png', png_rgba(scaled(GLASSWARE_32, 4), GLASSWARE_COLOURS))

    write('abacus.png', png_indexed4(ABACUS, ABACUS_COLOURS))
    write('abacus-moved.png', png_indexed4(ABACUS_MOVED, ABACUS_COLOURS))
    write('door-closed.png', png_indexed4(DOOR_CLOSED, DOOR_COLOURS))
    write('door-open.png', png_indexed4(DOOR_OPEN, DOOR_COLOURS))

    write('hand.ico', ico_file([(HAND, HAND_COLOURS, 4, 'dib')]))
    write('hand.hotspot', ('%d,%d\n' % HAND_HOTSPOT).encode('ascii'))


if __name__ == '__main__':
    main()
