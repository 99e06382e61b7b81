"""Shaping Unicode Khmer text with a font, through HarfBuzz's hb-shape.

All lines go to one hb-shape process, which shapes each line of its input on
its own; the answer is one JSON array of glyphs per line.
"""

import json
import subprocess


class Glyph:
    """One shaped glyph: its id in the font, the pen position it starts at,
    where it is drawn (x, y; all from the start of the line) and its advance."""

    __slots__ = ("gid", "pen", "x", "y", "advance")

    def __init__(self, gid, pen, x, y, advance):
        self.gid = gid
        self.pen = pen
        self.x = x
        self.y = y
        self.advance = advance

    @property
    def end(self):
        """The pen position after the glyph."""
        return self.pen + self.advance

    def __repr__(self):
        return f"Glyph({self.gid}@{self.x},{self.y}+{self.advance})"


def shape_lines(font_file, texts, hb_shape="hb-shape"):
    """Shapes each text (a str without line breaks) as Khmer, left to right,
    at the font's own units; returns one list of Glyph per text."""
    for text in texts:
        if "\n" in text or "\r" in text:
            raise ValueError("a line break in a text to shape")
    if not texts:
        return []
    run = subprocess.run(
        [hb_shape, "--font-file", font_file, "--script=khmr", "--language=km",
         "--direction=ltr", "--no-glyph-names", "--output-format=json"],
        input="\n".join(texts) + "\n", capture_output=True, text=True, encoding="utf-8", check=True)
    lines = run.stdout.splitlines()
    if len(lines) != len(texts):
        raise RuntimeError(f"hb-shape answered {len(lines)} lines for {len(texts)} texts")
    shaped = []
    for line in lines:
        pen = 0
        glyphs = []
        for g in json.loads(line):
            glyphs.append(Glyph(g["g"], pen, pen + g["dx"], g["dy"], g["ax"]))
            pen += g["ax"]
        shaped.append(glyphs)
    return shaped
