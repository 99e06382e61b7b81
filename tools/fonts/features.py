"""The OpenType layout of a stand-in font, as feature-file text.

GDEF tells marks from the rest; GPOS 'mark' puts each mark on the glyph
before it at that glyph's own anchor, 'mkmk' puts a vowel below under a
subscript. Listed for the default and the Latin script, which is what a
shaper sees in the Windows-1252 characters of the text. There is no GSUB:
each character keeps its one glyph.
"""


def _anchor(point):
    return f"<anchor {point[0]} {point[1]}>"


def feature_text(glyphs):
    """`glyphs` is a FontGlyphs (see build.py)."""
    out = ["languagesystem DFLT dflt;", "languagesystem latn dflt;", ""]
    marks = [name for name in glyphs.order if glyphs.is_mark(name)]
    bases = [name for name in glyphs.order if name != ".notdef" and not glyphs.is_mark(name)]
    out.append("table GDEF {")
    out.append(f"  GlyphClassDef [{' '.join(bases)}], , [{' '.join(marks)}], ;")
    out.append("} GDEF;")
    out.append("")
    for name in marks:
        out.append(f"markClass {name} <anchor 0 0> @m_{name.replace('.', '_')};")
    out.append("")

    out.append("lookup marks_on_bases {")
    for base in glyphs.order:
        anchors = glyphs.base_anchors.get(base)
        if anchors:
            rules = " ".join(f"{_anchor(anchors[m])} mark @m_{m.replace('.', '_')}" for m in sorted(anchors))
            out.append(f"  pos base {base} {rules};")
    out.append("} marks_on_bases;")
    out.append("")

    below_marks = sorted({m for anchors in glyphs.mark_anchors.values() for m in anchors})
    subs = sorted(glyphs.mark_anchors)
    out.append("lookup vowels_under_subscripts {")
    out.append(f"  lookupflag UseMarkFilteringSet [{' '.join(subs + below_marks)}];")
    for sub in subs:
        anchors = glyphs.mark_anchors[sub]
        rules = " ".join(f"{_anchor(anchors[m])} mark @m_{m.replace('.', '_')}" for m in sorted(anchors))
        out.append(f"  pos mark {sub} {rules};")
    out.append("} vowels_under_subscripts;")
    out.append("")
    out.append("feature mark { lookup marks_on_bases; } mark;")
    out.append("feature mkmk { lookup vowels_under_subscripts; } mkmk;")
    out.append("")

    return "\n".join(out) + "\n"
