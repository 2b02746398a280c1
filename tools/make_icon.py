#!/usr/bin/env python3
"""Draws the Tovrelle icon and writes it as resources/tovrelle.ico.

The icon is a white power symbol (a ring broken at the top with a bar through
the gap) on a rounded green square.  Everything is drawn here with plain
Python (struct + zlib only), so the output is the same bytes on every run.

The .ico holds twelve images, in this order:
   1-3   256x256 at 4, 8 and 32 bpp, stored as PNG
   4-6   16, 32, 48 px at 4 bpp   (classic DIB, 16-colour palette)
   7-9   16, 32, 48 px at 8 bpp   (classic DIB, 256-colour palette)
  10-12  16, 32, 48 px at 32 bpp  (classic DIB, BGRA + AND mask)
The tray code picks the first 16-px entry with a colour count of 16 or more,
which is entry 4.

Usage: python3 tools/make_icon.py [output.ico]
"""

import math
import os
import struct
import sys
import zlib

# --- Colours ------------------------------------------------------------------

BG_TOP = (82, 196, 112)      # light green at the top of the square
BG_BOTTOM = (22, 118, 64)    # darker green at the bottom
SYMBOL = (255, 255, 255)


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def background(y):
    """Vertical gradient of the square; y runs 0 (top) .. 1 (bottom)."""
    return lerp(BG_TOP, BG_BOTTOM, min(max(y, 0.0), 1.0))


# --- Drawing ------------------------------------------------------------------

def render(size):
    """Returns size*size RGBA tuples (0..255 ints), rows top to bottom.

    Every pixel is supersampled on an ss x ss grid; the shapes are tested in
    unit coordinates (0..1 across the icon, y pointing down).
    """
    ss = 4 if size > 64 else 8
    # Small icons get a slightly thicker stroke so it stays at least ~2 px.
    stroke = max(0.09, 2.0 / size)
    half = stroke / 2
    margin = round(size / 32) / size          # 8 px at 256, none at 16
    box = 0.5 - margin                        # half-width of the square
    corner = 0.19                             # corner radius of the square
    cx, cy, ring = 0.5, 0.52, 0.25            # ring centre and mid radius
    # Open the ring wide enough that the bar has about 0.8 strokes of air
    # on each side of it (measured to the rounded end caps).
    gap = math.asin(min(0.95, 1.8 * stroke / ring))
    end_dx, end_dy = ring * math.sin(gap), -ring * math.cos(gap)
    tan_gap = math.tan(gap)
    bar_top, bar_bottom = cy - ring, cy - 0.01   # bar centre line (caps added)

    def in_square(x, y):
        dx, dy = abs(x - 0.5), abs(y - 0.5)
        if dx > box or dy > box:
            return False
        qx, qy = max(dx - (box - corner), 0.0), max(dy - (box - corner), 0.0)
        return qx * qx + qy * qy <= corner * corner

    def in_symbol(x, y):
        # Vertical bar with rounded ends.
        dx = x - cx
        if abs(dx) <= half:
            ny = min(max(y, bar_top), bar_bottom)
            if dx * dx + (y - ny) ** 2 <= half * half:
                return True
        dy = y - cy
        # Ring, except for the wedge around "12 o'clock".
        d = math.hypot(dx, dy)
        if abs(d - ring) <= half and not (dy < 0 and abs(dx) < -dy * tan_gap):
            return True
        # Round caps where the ring stops.
        for ex in (-end_dx, end_dx):
            if (dx - ex) ** 2 + (dy - end_dy) ** 2 <= half * half:
                return True
        return False

    n = ss * ss
    pixels = []
    for py in range(size):
        for px in range(size):
            cover = 0
            acc = [0.0, 0.0, 0.0]
            for sy in range(ss):
                y = (py + (sy + 0.5) / ss) / size
                bg = background((y - margin) / (1 - 2 * margin))
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / size
                    if not in_square(x, y):
                        continue
                    c = SYMBOL if in_symbol(x, y) else bg
                    cover += 1
                    acc[0] += c[0]
                    acc[1] += c[1]
                    acc[2] += c[2]
            if cover == 0:
                pixels.append((0, 0, 0, 0))
            else:
                r, g, b = (int(v / cover + 0.5) for v in acc)
                pixels.append((r, g, b, (cover * 255 + n // 2) // n))
    return pixels


# --- Palettes and quantisation --------------------------------------------------

def make_palette(shades, mixes):
    """Index 0 is black (used for transparent pixels); then `shades` steps of
    the background gradient, each blended with white at `mixes` levels, and
    finally pure white.  This covers every colour the drawing can produce."""
    pal = [(0, 0, 0)]
    for s in range(shades):
        bg = background(s / (shades - 1))
        for m in range(mixes):
            c = lerp(bg, SYMBOL, m / mixes)
            pal.append(tuple(int(v + 0.5) for v in c))
    pal.append(SYMBOL)
    return pal


PALETTE_16 = make_palette(7, 2)      # 1 + 14 + 1 = 16 colours
PALETTE_256 = make_palette(31, 8)    # 1 + 248 + 1 = 250 colours


def quantise(pixels, palette):
    """Maps RGBA pixels to palette indices. Pixels under half opacity become
    transparent (index 0); the rest go to the nearest colour, never index 0."""
    cache = {}
    out = []
    for r, g, b, a in pixels:
        if a < 128:
            out.append(0)
            continue
        key = (r, g, b)
        idx = cache.get(key)
        if idx is None:
            best = None
            for i in range(1, len(palette)):
                pr, pg, pb = palette[i]
                d = (r - pr) ** 2 + (g - pg) ** 2 + (b - pb) ** 2
                if best is None or d < best:
                    best, idx = d, i
            cache[key] = idx
        out.append(idx)
    return out


def pack_row(indices, bpp):
    """Packs palette indices into bytes, high nibble first for 4 bpp."""
    if bpp == 8:
        return bytes(indices)
    padded = list(indices) + [0] * (len(indices) % 2)
    return bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))


# --- PNG ----------------------------------------------------------------------

def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def make_png(size, pixels, bpp, palette=None):
    if bpp == 32:
        # RGBA, each row with the "Up" filter (helps the vertical gradient).
        header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
        raw = bytearray()
        prev = bytes(size * 4)
        for y in range(size):
            row = bytes(v for p in pixels[y * size:(y + 1) * size] for v in p)
            raw.append(2)
            raw += bytes((row[i] - prev[i]) & 0xFF for i in range(len(row)))
            prev = row
        extra = b""
    else:
        # Palette image; tRNS makes index 0 fully transparent.
        header = struct.pack(">IIBBBBB", size, size, bpp, 3, 0, 0, 0)
        idx = quantise(pixels, palette)
        raw = bytearray()
        for y in range(size):
            raw.append(0)
            raw += pack_row(idx[y * size:(y + 1) * size], bpp)
        extra = (png_chunk(b"PLTE", bytes(v for c in palette for v in c))
                 + png_chunk(b"tRNS", b"\x00"))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + png_chunk(b"IEND", b""))


# --- Classic DIB icon image -----------------------------------------------------

def stride(bits_per_row):
    """Bytes per row, padded to a 4-byte boundary."""
    return (bits_per_row + 31) // 32 * 4


def make_dib(size, pixels, bpp, palette=None):
    xor_stride = stride(size * bpp)
    and_stride = stride(size)
    image_size = (xor_stride + and_stride) * size
    # BITMAPINFOHEADER; the height counts the XOR and AND bitmaps together.
    out = bytearray(struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp,
                                0, image_size, 0, 0, 0, 0))
    if bpp == 32:
        rows = []
        for y in range(size):
            row = pixels[y * size:(y + 1) * size]
            rows.append(bytes(v for r, g, b, a in row for v in (b, g, r, a)))
    else:
        colours = 1 << bpp
        full = list(palette) + [(0, 0, 0)] * (colours - len(palette))
        out += bytes(v for r, g, b in full for v in (b, g, r, 0))   # RGBQUADs
        idx = quantise(pixels, palette)
        rows = [pack_row(idx[y * size:(y + 1) * size], bpp) for y in range(size)]
    for y in reversed(range(size)):            # DIB rows go bottom-up
        out += rows[y].ljust(xor_stride, b"\x00")
    # AND mask: 1 = transparent (alpha below half, matching the palette images).
    for y in reversed(range(size)):
        bits = bytearray(and_stride)
        for x in range(size):
            if pixels[y * size + x][3] < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        out += bits
    return bytes(out)


# --- ICO container --------------------------------------------------------------

def write_ico(path, images):
    """images: list of (width, bpp, data)."""
    offset = 6 + 16 * len(images)
    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    for width, bpp, data in images:
        dim = 0 if width >= 256 else width     # 0 stands for 256
        colours = 16 if bpp == 4 else 0
        entries += struct.pack("<BBBBHHII", dim, dim, colours, 0, 1, bpp,
                               len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(header + entries + b"".join(d for _, _, d in images))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "tovrelle.ico")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)

    palettes = {4: PALETTE_16, 8: PALETTE_256}
    big = render(256)
    images = [(256, bpp, make_png(256, big, bpp, palettes.get(bpp))) for bpp in (4, 8, 32)]
    small = {s: render(s) for s in (16, 32, 48)}
    for bpp in (4, 8, 32):
        for s in (16, 32, 48):
            images.append((s, bpp, make_dib(s, small[s], bpp, palettes.get(bpp))))
    write_ico(out, images)
    print("wrote %s (%d bytes)" % (out, os.path.getsize(out)))


if __name__ == "__main__":
    main()
