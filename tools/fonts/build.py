"""Writing a stand-in font: the glyphs of a Layout drawn from the source
font's outlines, the character map of the Windows-1252 characters, metrics,
names, and the layout features."""

from collections import defaultdict

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen

from encoding import windows1252
from features import feature_text
from layout import Recipe


class FontGlyphs:
    """The glyphs of the new font: names in order, recipes, the character
    map and anchors by glyph name.

    Every character has a glyph of its own, also where two draw alike, so
    that each glyph stands for one character (as a printed document's text
    is read back from its glyphs)."""

    def __init__(self, layout, source):
        self.order = [".notdef", "space"]
        self.recipes = {".notdef": None, "space": None}
        self.cmap = {0x20: "space", 0xA0: "space"}
        self._owned = {}                 # (byte, recipe key) -> name
        self._named = defaultdict(list)  # recipe key -> names
        for e in layout.entries:
            recipe = layout.recipes.get(e.byte)
            if recipe is not None:
                self.cmap[ord(e.char)] = self._add(recipe, f"k{e.byte:02X}", e.byte)
        self._latin(source, {e.byte for e in layout.entries})

        self.base_anchors = self._by_name(layout.base_anchors)
        self.mark_anchors = self._by_name(layout.mark_anchors)

    def _by_name(self, anchors):
        """{(base recipe key, mark recipe key): point} as {base name: {mark name: point}}."""
        out = {}
        for (base, mark), point in sorted(anchors.items(), key=repr):
            for base_name in self._named.get(base, ()):
                for mark_name in self._named.get(mark, ()):
                    out.setdefault(base_name, {})[mark_name] = point
        return out

    def _add(self, recipe, name, owner):
        """The glyph of byte `owner` drawn by `recipe`, added under `name`
        (numbered when taken) unless that byte has it already."""
        key = (owner, recipe.key())
        if key in self._owned:
            return self._owned[key]
        unique, n = name, 1
        while unique in self.recipes:
            n += 1
            unique = f"{name}{n}"
        self.order.append(unique)
        self.recipes[unique] = recipe
        self._owned[key] = unique
        self._named[recipe.key()].append(unique)
        return unique

    def _latin(self, source, khmer_bytes):
        """Bytes the encoding does not use keep the source font's glyph of their
        Windows-1252 character, when it has one."""
        cmap = source.getBestCmap()
        for byte in range(0x21, 0x100):
            char = windows1252(byte)
            if byte in khmer_bytes or char is None or ord(char) not in cmap or byte == 0xA0:
                continue
            name = cmap[ord(char)]
            recipe = Recipe([(source.getGlyphID(name), 0, 0)], source["hmtx"][name][0], False)
            self.cmap[ord(char)] = self._add(recipe, f"l{byte:02X}", byte)

    def is_mark(self, name):
        recipe = self.recipes[name]
        return recipe is not None and recipe.mark


def glyph_contours(glyph_set, name):
    """A glyph's outline, its components drawn in, as contours: each a list
    of the (operator, operands) a recording pen takes."""
    recording = DecomposingRecordingPen(glyph_set)
    glyph_set[name].draw(recording)
    contours, contour = [], []
    for step in recording.value:
        contour.append(step)
        if step[0] in ("closePath", "endPath"):
            contours.append(contour)
            contour = []
    return contours


def _outline(recipe, source, glyph_set):
    pen = TTGlyphPen(None)
    if recipe is not None:
        order = source.getGlyphOrder()
        for i, (gid, x, y) in enumerate(recipe.parts):
            drawn = recipe.contours[i] if recipe.contours is not None else None
            moved = TransformPen(pen, (1, 0, 0, 1, x, y))
            for n, contour in enumerate(glyph_contours(glyph_set, order[gid])):
                if drawn is None or n in drawn:
                    for operator, operands in contour:
                        getattr(moved, operator)(*operands)
    return pen.glyph()


def _names(source, family, source_label, version):
    def name(number):
        record = source["name"].getName(number, 3, 1, 0x409) or source["name"].getName(number, 1, 0, 0)
        return record.toUnicode() if record else ""

    postscript = "".join(c for c in family if c.isalnum()) + "-Regular"
    names = {
        "copyright": name(0),
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": f"Velumir: {family} stand-in from {source_label}",
        "fullName": family,
        "version": f"Version {version}",
        "psName": postscript,
        "manufacturer": name(8) or name(9),
        "designer": name(9) or name(8),
        "description": (f'Stand-in for the legacy Khmer font "{family}": each Windows-1252 character of the '
                        f"legacy Khmer font encoding drawn as the Khmer glyph it stands for, with the "
                        f"glyphs of {source_label}. Made by Velumir's font generator."),
        "licenseDescription": name(13) or name(0),
        "licenseInfoURL": name(14),
    }
    return {key: value for key, value in names.items() if value}


def build_font(layout, source, family, scale, line_height, version):
    """The stand-in font (a fontTools TTFont): the source font's glyphs drawn
    at `scale` of their size in the em, lines `line_height` ems high."""
    glyphs = FontGlyphs(layout, source)
    glyph_set = source.getGlyphSet()
    units = round(source["head"].unitsPerEm / scale)

    builder = FontBuilder(units, isTTF=True)
    builder.font.recalcTimestamp = False
    builder.setupGlyphOrder(glyphs.order)
    builder.setupCharacterMap(glyphs.cmap)
    outlines = {name: _outline(glyphs.recipes[name], source, glyph_set) for name in glyphs.order}
    space = source["hmtx"][source.getBestCmap()[0x20]][0]
    builder.setupGlyf(outlines)
    glyf = builder.font["glyf"]
    metrics = {}
    for name in glyphs.order:
        recipe = glyphs.recipes[name]
        advance = space if name == "space" else (recipe.advance if recipe else space)
        outline = glyf[name]
        outline.recalcBounds(glyf)
        metrics[name] = (advance, getattr(outline, "xMin", 0))
    builder.setupHorizontalMetrics(metrics)

    khmer = [glyf[n] for n in glyphs.order if n.startswith("k") and hasattr(glyf[n], "yMax")]
    top = max(g.yMax for g in khmer)
    bottom = min(g.yMin for g in khmer)
    height = max(round(line_height * units), top - bottom)
    ascent = top + (height - (top - bottom)) // 2
    descent = height - ascent
    builder.setupHorizontalHeader(ascent=ascent, descent=-descent, lineGap=0)
    source_label = f"{source['name'].getDebugName(1)} {source['name'].getDebugName(5)}".strip()
    builder.setupNameTable(_names(source, family, source_label, version))
    builder.setupOS2(
        version=4, usWeightClass=400, fsType=0, achVendID="VLMR",
        sTypoAscender=ascent, sTypoDescender=-descent, sTypoLineGap=0,
        usWinAscent=ascent, usWinDescent=descent,
        fsSelection=0x40 | 0x80,  # regular, use the typographic metrics
        ulUnicodeRange1=0b11, ulCodePageRange1=1,
    )
    builder.setupPost(keepGlyphNames=True)
    modified = source["head"].modified
    builder.updateHead(created=modified, modified=modified, fontRevision=float(version))
    addOpenTypeFeaturesFromString(builder.font, feature_text(glyphs))
    return builder.font
