#!/usr/bin/env python3
"""Draws Relvan's application icon and writes it as one .ico file.

The picture: a pale yellow rounded square (the dialogs' own background) with
a dark frame, and an arrow from a small "J" box to a "T" box: JTDX feeding
Tolm. Thirteen images: 16, 24, 32 and 48 pixels at 4, 8 and 32 bits per
pixel, and a 256-pixel image stored as PNG, as Windows picks among them by
size and screen depth.

Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys
import zlib

FRAME = (92, 64, 24)
FILL = (255, 250, 198)
CELL = (255, 240, 198)
ARROW = (176, 36, 24)
INK = (0, 0, 0)


def inside_rounded(x, y, x0, y0, x1, y1, r):
    """Whether the point lies in the rectangle with rounded corners."""
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def colour_at(u, v):
    """The picture at (u, v) in a unit square; None where it is transparent."""
    if not inside_rounded(u, v, 0.03, 0.03, 0.97, 0.97, 0.18):
        return None
    if not inside_rounded(u, v, 0.09, 0.09, 0.91, 0.91, 0.13):
        return FRAME
    # Two boxes: J on the left, T on the right.
    for x0, letter in ((0.17, "J"), (0.59, "T")):
        if x0 <= u <= x0 + 0.24 and 0.22 <= v <= 0.52:
            if not (x0 + 0.025 <= u <= x0 + 0.215 and 0.245 <= v <= 0.495):
                return FRAME
            lu, lv = (u - x0 - 0.05) / 0.14, (v - 0.27) / 0.20
            if not (0 <= lu <= 1 and 0 <= lv <= 1):
                return CELL
            if letter == "T" and (lv < 0.25 or 0.36 <= lu <= 0.64):
                return INK
            if letter == "J" and ((lv < 0.25 and lu >= 0.3) or (0.55 <= lu <= 0.85)
                                  or (lv >= 0.75 and lu <= 0.85) or (lu <= 0.3 and lv >= 0.5)):
                return INK
            return CELL
    # The arrow underneath, left to right.
    if 0.20 <= u <= 0.66 and 0.64 <= v <= 0.74:
        return ARROW
    if 0.66 <= u <= 0.82 and abs(v - 0.69) <= (0.82 - u) * 0.9:
        return ARROW
    return FILL


def render(size):
    """RGBA rows, top to bottom, with 4x4 supersampling for smooth edges."""
    rows = []
    samples = 4
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((x + (sx + 0.5) / samples) / size, (y + (sy + 0.5) / samples) / size)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = samples * samples
            row.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


# The 16 colours of 4-bit icons: the standard VGA palette.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette_256():
    """A 6x6x6 colour cube, then the picture's own colours, then greys."""
    levels = (0, 51, 102, 153, 204, 255)
    colours = [(r, g, b) for r in levels for g in levels for b in levels]
    colours += [FRAME, FILL, CELL, ARROW]
    colours += [(v, v, v) for v in range(8, 256, 10)][: 256 - len(colours)]
    return colours + [(0, 0, 0)] * (256 - len(colours))


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((p - q) ** 2 for p, q in zip(palette[i], rgb)))


def dib(rows, bits):
    """An icon image as Windows stores it: header, colours, XOR bits, AND mask."""
    size = len(rows)
    palette = {4: VGA16, 8: palette_256()}.get(bits, [])
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    stride = (size * bits + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    cache = {}
    for row in reversed(rows):  # bottom-up
        line = bytearray(stride)
        mline = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if a < 128 and bits != 32:
                mline[x // 8] |= 0x80 >> (x % 8)
                index = 0
            elif bits != 32:
                index = cache.setdefault((r, g, b), nearest(palette, (r, g, b)))
            if bits == 32:
                line[x * 4: x * 4 + 4] = bytes((b, g, r, a))
                if a == 0:
                    mline[x // 8] |= 0x80 >> (x % 8)
            elif bits == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += line
        mask += mline
    return header + colours + bytes(xor) + bytes(mask)


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = []  # (size, bits, colour count, data)
    for size in (16, 24, 32, 48):
        rows = render(size)
        for bits in (4, 8, 32):
            images.append((size, bits, 16 if bits == 4 else 0, dib(rows, bits)))
    images.append((256, 32, 0, png(render(256))))

    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, count, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, count, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + b"".join(image[3] for image in images))


if __name__ == "__main__":
    main()
