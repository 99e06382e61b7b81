#!/usr/bin/python3
"""Makes stand-in fonts for the legacy Khmer fonts "Limon S1", "Limon R1",
"Limon R2" and "Limon F3" from Unicode Khmer fonts.

The legacy fonts draw the Windows-1252 characters of the legacy Khmer font
encoding as Khmer glyphs. A stand-in does the same with the glyphs of a
Unicode Khmer font, placed as that font's own shaping places them (see
layout.py), so text in the legacy encoding reads as Khmer without the
legacy fonts. The output is the same on every run.

usage: make_limon_fonts.py --table limon_encoding.tsv --families families.tsv
                           --fonts-dir /usr/share/fonts --out-dir DIR
                           [--hb-shape hb-shape] [--verbose]
"""

import argparse
import os
import sys
from functools import lru_cache

from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from build import build_font, glyph_contours  # noqa: E402
from encoding import read_table, tsv_rows  # noqa: E402
from layout import Layout  # noqa: E402
from shaping import shape_lines  # noqa: E402

VERSION = "1.000"


class Family:
    """A line of families.tsv: the family, its file, the source font and how
    big its glyphs are drawn."""

    def __init__(self, fields):
        self.name, self.file, self.source = fields[0], fields[1], fields[2]
        self.scale, self.line_height = float(fields[3]), float(fields[4])


def read_families(path):
    return [Family(fields) for _, fields in
            tsv_rows(path, 5, "family, file, source, scale, line height")]


def make_font(family, entries, spellings, fonts_dir, hb_shape, verbose):
    source_file = os.path.join(fonts_dir, family.source)
    source = TTFont(source_file)
    cmap = source.getBestCmap()
    glyph_set = source.getGlyphSet()
    order = source.getGlyphOrder()

    def bounds(gid):
        pen = BoundsPen(glyph_set)
        glyph_set[order[gid]].draw(pen)
        return pen.bounds

    @lru_cache(maxsize=None)
    def contours(gid):
        return [tuple(point for _, operands in contour for point in operands if point is not None)
                for contour in glyph_contours(glyph_set, order[gid])]

    layout = Layout(entries, spellings,
                    lambda texts: shape_lines(source_file, texts, hb_shape),
                    lambda char: source.getGlyphID(cmap[ord(char)]),
                    bounds, contours)
    if layout.missing:
        raise SystemExit(f"{family.source} does not draw " + ", ".join(layout.missing))
    if verbose:
        # Pairs the source font draws in a way the stand-in does not copy
        # keep the glyphs of their bytes as they are.
        for problem in layout.problems:
            print(f"{family.file}: {problem}", file=sys.stderr)
    return build_font(layout, source, family.name, family.scale, family.line_height, VERSION)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True)
    parser.add_argument("--families", required=True)
    parser.add_argument("--fonts-dir", default="/usr/share/fonts")
    parser.add_argument("--out-dir", required=True)
    parser.add_argument("--hb-shape", default="hb-shape")
    parser.add_argument("--verbose", action="store_true", help="tell what is not copied from the source fonts")
    args = parser.parse_args()

    entries, spellings = read_table(args.table)
    os.makedirs(args.out_dir, exist_ok=True)
    for family in read_families(args.families):
        font = make_font(family, entries, spellings, args.fonts_dir, args.hb_shape, args.verbose)
        target = os.path.join(args.out_dir, family.file)
        font.save(target + ".part")
        os.replace(target + ".part", target)


if __name__ == "__main__":
    main()
