#!/usr/bin/python3
"""Makes the small fonts the font tests use (run once; the output is
committed): every Windows-1252 character drawn as one filled box, under a
family name of the test's choosing, so that a test can tell them from any
other font by their shape and by "Velumir test font" in their name table."""

import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen


def box():
    pen = TTGlyphPen(None)
    pen.moveTo((50, -200))
    pen.lineTo((50, 800))
    pen.lineTo((550, 800))
    pen.lineTo((550, -200))
    pen.closePath()
    return pen.glyph()


def make(family, file, description="Velumir test font"):
    builder = FontBuilder(1000, isTTF=True)
    builder.font.recalcTimestamp = False
    builder.setupGlyphOrder([".notdef", "box"])
    cmap = {}
    for byte in range(0x20, 0x100):
        try:
            cmap[ord(bytes([byte]).decode("cp1252"))] = "box"
        except UnicodeDecodeError:
            pass
    builder.setupCharacterMap(cmap)
    builder.setupGlyf({".notdef": TTGlyphPen(None).glyph(), "box": box()})
    builder.setupHorizontalMetrics({".notdef": (600, 0), "box": (600, 50)})
    builder.setupHorizontalHeader(ascent=900, descent=-300)
    builder.setupNameTable({"familyName": family, "styleName": "Regular",
                            "description": description, "uniqueFontIdentifier": f"{description} {family}"})
    builder.setupOS2(sTypoAscender=900, sTypoDescender=-300, usWinAscent=900, usWinDescent=300)
    builder.setupPost()
    builder.updateHead(created=0, modified=0)
    builder.save(file)


if __name__ == "__main__":
    make("Limon S1", "test-limon-s1.ttf")
    make("Velumir Unnamed Test", "test-unnamed.ttf")
    # The same family without the marker, to tell which of two files was taken.
    make("Velumir Unnamed Test", "test-unnamed-other.ttf", "Velumir other font")
