#!/usr/bin/env python3
"""Writes the skin that tovrelle.exe carries and hands to SkinH_EL.dll: resources/tovrelle.she.

The skin file (".SHE", version 1; the reader is skinlib/format/skin_format.cpp):
    0  ".SHE"            magic
    4  u16 version       1
    6  u16 rule count
    8  u32 total length  of the whole file, header and checksum included
   12  rules             each: u16 kind, u16 payload length, payload
  end  u32 CRC-32        of every byte before it (zlib.crc32)
Rules: kind 1 background (u32 colour 0x00BBGGRR); kind 2 band (u8 edge 0 top, 1 bottom,
2 left, 3 right; u16 thickness; u32 outer colour; u32 inner colour).

The Tovrelle skin: a pale blue window with a deep blue band fading up from the bottom edge.
The status line, the hour/minute/second labels and the empty parts of the window all show the
background colour.

Usage: python3 tools/make_skin.py [output.she]
"""

import os
import struct
import sys
import zlib

MAGIC = b".SHE"
VERSION = 1
RULE_BACKGROUND = 1
RULE_BAND = 2
EDGE_TOP, EDGE_BOTTOM, EDGE_LEFT, EDGE_RIGHT = 0, 1, 2, 3

# (red, green, blue)
BACKGROUND = (214, 230, 245)
BOTTOM_BAND_OUTER = (46, 94, 160)
BOTTOM_BAND_THICKNESS = 28


def colorref(rgb):
    r, g, b = rgb
    return r | (g << 8) | (b << 16)


def background_rule(rgb):
    return struct.pack("<HHI", RULE_BACKGROUND, 4, colorref(rgb))


def band_rule(edge, thickness, outer, inner):
    return struct.pack("<HHBHII", RULE_BAND, 11, edge, thickness, colorref(outer), colorref(inner))


def skin_file(rules):
    body_length = 12 + sum(len(r) for r in rules)
    data = MAGIC + struct.pack("<HHI", VERSION, len(rules), body_length + 4) + b"".join(rules)
    return data + struct.pack("<I", zlib.crc32(data) & 0xFFFFFFFF)


def tovrelle_skin():
    return skin_file([
        background_rule(BACKGROUND),
        band_rule(EDGE_BOTTOM, BOTTOM_BAND_THICKNESS, BOTTOM_BAND_OUTER, BACKGROUND),
    ])


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "tovrelle.she")
    with open(out, "wb") as f:
        f.write(tovrelle_skin())


if __name__ == "__main__":
    main()
