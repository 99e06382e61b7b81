"""Where the glyphs of the legacy encoding come from in a Unicode Khmer font.

Every byte's glyph is a recipe: glyphs of the source font, each drawn at an
offset from the new glyph's origin, and an advance. The offsets come from
the source font's own shaping of the Unicode text the byte stands for,
written after the letter KA (or after a dotted circle where the font joins
the text to KA), so that a mark with no advance lands where the source font
puts it over a consonant of KA's width. A subscript that the source font
draws beside its consonant (YO, SA, BA, ...) keeps the advance it has there.

Then each letter is shaped with each mark (subscript, vowel sign above or
below, sign): the mark gets its anchor on that letter, where the source
font puts it there; and each vowel below gets its anchor on each subscript
it can stand under. Nothing else changes a glyph: as in the legacy fonts,
each character has one glyph, whatever stands around it (and so a printed
document's text reads back whole). A letter the encoding has for writing
before the vowel AA (BA, byte ")") draws as the source font draws the two
joined; AA's own glyph then falls on the vowel's part of it. A part (the
hook that makes BA into RY, ...) draws what the source font draws of the
character its spelling stands for beyond the bytes before it.
"""

from collections import Counter

from encoding import MARK_ROLES

KA = "\u1780"
AA = "\u17B6"
DOTTED_CIRCLE = "\u25CC"


class Recipe:
    """Source glyphs (gid, x, y) drawn from the new glyph's origin, an
    advance, and whether the glyph is a mark (no advance, placed on the
    glyph before it). `contours`, where given, holds for each part the
    numbers of the contours drawn of it (None: all of them)."""

    __slots__ = ("parts", "advance", "mark", "contours")

    def __init__(self, parts, advance, mark, contours=None):
        self.parts = tuple(parts)
        self.advance = advance
        self.mark = mark
        self.contours = tuple(contours) if contours is not None else None

    def key(self):
        return (self.parts, self.advance, self.mark, self.contours)

    def gids(self):
        return [gid for gid, _, _ in self.parts]


def _parts(glyphs, origin):
    return [(g.gid, g.x - origin, g.y) for g in glyphs]


def _find(glyphs, gid):
    for i, g in enumerate(glyphs):
        if g.gid == gid:
            return i
    return None


def _origin(recipe, glyphs):
    """Where a glyph drawn with `recipe` has its origin, given where the
    source font drew its parts (`glyphs`)."""
    _, x, y = recipe.parts[0]
    return (glyphs[0].x - x, glyphs[0].y - y)


class Layout:
    """The recipes and placements for one source font.

    `shape` shapes a list of texts with the source font (see shaping.py);
    `gid_of` gives the source font's nominal glyph of a character, `bounds`
    a glyph's bounding box (x min, y min, x max, y max; None when empty),
    `contours` a glyph's contours, each a tuple of its points."""

    def __init__(self, entries, spellings, shape, gid_of, bounds, contours):
        self.entries = entries
        self.spellings = spellings
        self.shape = shape
        self.bounds = bounds
        self.contours = contours
        self.ka = gid_of(KA)
        self.circle = gid_of(DOTTED_CIRCLE)
        self.recipes = {}        # byte -> Recipe
        self.base_anchors = {}   # (base recipe key, mark recipe key) -> (x, y)
        self.mark_anchors = {}   # (sub recipe key, below recipe key) -> (x, y)
        self.missing = []        # bytes the source font has no glyph for
        self.problems = []       # pairs it draws in a way that is not copied
        self._reference()
        self.pre_gids = {gid for e in self._with(role="pre") for gid in self.recipes[e.byte].gids()}
        self._letters_with_marks()
        self._followers_with_marks()
        self._subscripts_with_vowels()
        self._parts_of_spellings()

    def _with(self, role=None, mark=None):
        return [e for e in self.entries if e.byte in self.recipes
                and (role is None or e.role == role) and (mark is None or self.recipes[e.byte].mark == mark)]

    def _problem(self, text):
        self.problems.append(text)

    # The glyph of each byte on its own.
    def _reference(self):
        texts = []
        singles = [e for e in self.entries if e.role != "part"]
        for e in singles:
            alone = e.text + AA if e.role == "joins" else e.text
            texts += [alone, KA + e.text, DOTTED_CIRCLE + e.text]
        shaped = self.shape(texts)
        for i, e in enumerate(singles):
            recipe = self._recipe(e, *shaped[3 * i:3 * i + 3])
            if recipe is None:
                self.missing.append(f"byte {e.byte:02X} ({e.names})")
            else:
                self.recipes[e.byte] = recipe

    def _recipe(self, e, alone, after_ka, after_circle):
        if e.role == "joins":
            # The letter and AA as the source font joins them, with the
            # letter's advance (AA's glyph that follows adds its own).
            if _find(alone, self.circle) is not None or len(alone) != 1:
                return None
            letter = self._letter_advance(e.text)
            return Recipe(_parts(alone, 0), letter, False) if letter else None
        if e.role == "base":
            if _find(alone, self.circle) is not None:
                return None
            return Recipe(_parts(alone, 0), alone[-1].end, False)
        for context, base_gid in ((after_ka, self.ka), (after_circle, self.circle)):
            at = _find(context, base_gid)
            if at is None:
                continue
            if e.role == "pre":
                if at > 0 and at == len(context) - 1:
                    return Recipe(_parts(context[:at], 0), context[at].pen, False)
            elif at < len(context) - 1:
                following = context[at + 1:]
                advance = sum(g.advance for g in following)
                mark = e.role in MARK_ROLES and advance == 0
                return Recipe(_parts(following, context[at].end), advance, mark)
        return None

    def _middle(self, parts):
        """The middle of the box around glyphs (gid, x, y); None when all are empty."""
        boxes = [(x + b[0], y + b[1], x + b[2], y + b[3]) for gid, x, y in parts
                 for b in [self.bounds(gid)] if b is not None]
        if not boxes:
            return None
        return ((min(b[0] for b in boxes) + max(b[2] for b in boxes)) / 2,
                (min(b[1] for b in boxes) + max(b[3] for b in boxes)) / 2)

    def _letter_advance(self, text):
        """The advance of a letter on its own."""
        glyphs = self.shape([text])[0]
        return glyphs[0].advance if len(glyphs) == 1 else None

    def _skip_pre(self, glyphs):
        """The shaped glyphs from the letter on: without the glyphs that
        Unicode text draws before it (vowel E of a vowel in two parts)."""
        at = 0
        while at < len(glyphs) and glyphs[at].gid in self.pre_gids:
            at += 1
        return glyphs[at:]

    # Each letter with each mark: the mark's anchor on the letter. A mark
    # that the source font draws with another glyph after KA than after most
    # letters takes the glyph most letters have.
    def _letters_with_marks(self):
        letters = [e for e in self._with(role="base") if e.is_letter and len(self.recipes[e.byte].parts) == 1]
        marks = self._with(mark=True)
        texts = [b.text + m.text for m in marks for b in letters]
        shaped = iter(self.shape(texts))
        for m in marks:
            drawn = []
            for b in letters:
                glyphs = next(shaped)
                base, rest = glyphs[0], glyphs[1:]
                # (A mark that a font gives an advance of a few units is still a mark.)
                if _find(glyphs, self.circle) is None and rest and sum(g.advance for g in rest) <= 16:
                    drawn.append((b, base, rest))
                else:
                    self._problem(f"bytes {b.byte:02X} {m.byte:02X}: not drawn as a letter and a mark")
            if not drawn:
                continue
            usual = Counter(tuple(g.gid for g in rest) for _, _, rest in drawn).most_common(1)[0][0]
            if list(usual) != self.recipes[m.byte].gids():
                _, base, rest = next(d for d in drawn if tuple(g.gid for g in d[2]) == usual)
                self.recipes[m.byte] = Recipe(_parts(rest, base.end), 0, True)
            for b, base, rest in drawn:
                self._anchor_on_letter(b, m, base, rest)

    def _anchor_on_letter(self, b, m, base, rest):
        mark = self.recipes[m.byte]
        if [g.gid for g in rest] == mark.gids():
            x, y = _origin(mark, rest)
        else:
            # The source font draws another glyph there: the usual one goes
            # where that one's middle is.
            self._problem(f"bytes {b.byte:02X} {m.byte:02X}: the mark drawn with another glyph")
            drawn = self._middle([(g.gid, g.x, g.y) for g in rest])
            usual = self._middle(mark.parts)
            if drawn is None or usual is None:
                return
            x, y = round(drawn[0] - usual[0]), round(drawn[1] - usual[1])
        self.base_anchors[(self.recipes[b.byte].key(), mark.key())] = (x - base.x, y - base.y)

    # Marks over the glyphs that follow a letter with an advance of their own
    # (the vowel AA, a subscript beside its consonant, ...): their place is
    # taken after KA, counted from KA's end (where the source font joins KA
    # and the vowel into one glyph, from the end of KA on its own).
    def _followers_with_marks(self):
        followers = self._with(role="after") + self._with(role="sub", mark=False)
        marks = self._with(mark=True)
        ka_advance = self.recipes[next(e.byte for e in self.entries if e.text == KA and e.role == "base")].advance
        pairs = [(f, m) for f in followers for m in marks]
        for (f, m), glyphs in zip(pairs, self.shape([KA + f.text + m.text for f, m in pairs])):
            mark = self.recipes[m.byte]
            n = len(mark.parts)
            if _find(glyphs, self.circle) is not None or len(glyphs) <= n:
                continue
            rest = glyphs[-n:]
            if [g.gid for g in rest] != mark.gids() or any(g.advance for g in rest):
                continue
            letter = self._skip_pre(glyphs)[0]
            x, y = _origin(mark, rest)
            self.base_anchors[(self.recipes[f.byte].key(), mark.key())] = (x - letter.pen - ka_advance, y)

    # A vowel below under a subscript: where it sits from the subscript's origin.
    def _subscripts_with_vowels(self):
        subs = self._with(role="sub", mark=True)
        belows = self._with(role="below")
        pairs = [(s, v) for s in subs for v in belows]
        for (s, v), glyphs in zip(pairs, self.shape([KA + s.text + v.text for s, v in pairs])):
            sub, below = self.recipes[s.byte], self.recipes[v.byte]
            ns = len(sub.parts)
            if len(glyphs) != 1 + ns + len(below.parts) or glyphs[0].gid != self.ka:
                continue
            sub_glyphs, below_glyphs = glyphs[1:1 + ns], glyphs[1 + ns:]
            if [g.gid for g in sub_glyphs] != sub.gids() or [g.gid for g in below_glyphs] != below.gids():
                continue
            sx, sy = _origin(sub, sub_glyphs)
            bx, by = _origin(below, below_glyphs)
            self.mark_anchors[(sub.key(), below.key())] = (bx - sx, by - sy)

    # A part: what the source font draws of the spelled character beyond the
    # glyphs of the bytes before the part. Where it draws the character with
    # a mark after a letter (NYO over its subscript), the marks; where with
    # one glyph that holds the letter's outline (RY holds BA's), the contours
    # the letter lacks. The first spelling gives the glyph; each spelling
    # gives the part's anchor on the last byte before it, where the source
    # font draws that glyph's points in its character.
    def _parts_of_spellings(self):
        for part in [e for e in self.entries if e.role == "part"]:
            spellings = [s for s in self.spellings if s.bytes[-1] == part.byte]
            for s, glyphs in zip(spellings, self.shape([s.text for s in spellings])):
                leads = [self.recipes.get(b) for b in s.bytes[:-1]]
                found = self._part(glyphs, leads) if None not in leads else None
                if found is None:
                    self._problem(f"bytes {' '.join(f'{b:02X}' for b in s.bytes)}: no part beyond the letters")
                    continue
                end = sum(r.advance for r in leads)
                if part.byte not in self.recipes:
                    parts, contours = found
                    self.recipes[part.byte] = Recipe([(g, x - end, y) for g, x, y in parts], 0, True, contours)
                place = self._place(self.recipes[part.byte], found)
                if place is None:
                    self._problem(f"bytes {' '.join(f'{b:02X}' for b in s.bytes)}: the part drawn unlike the first")
                    continue
                last = leads[-1]
                self.base_anchors[(last.key(), self.recipes[part.byte].key())] = (
                    place[0] - (end - last.advance), place[1])
            if part.byte not in self.recipes:
                self.missing.append(f"byte {part.byte:02X} ({part.names})")

    def _part(self, glyphs, leads):
        """The part of the shaped character `glyphs` beyond the glyphs of
        `leads`: (source glyphs (gid, x, y), their contours) or None."""
        if not glyphs or _find(glyphs, self.circle) is not None:
            return None
        marks = [g for g in glyphs[1:] if g.advance == 0]
        if marks:
            return [(g.gid, g.x, g.y) for g in marks], None
        letter = leads[0]
        if len(glyphs) != 1 or len(leads) != 1 or len(letter.parts) != 1:
            return None
        g = glyphs[0]
        lead_gid, lx, ly = letter.parts[0]
        own = {_moved(c, lx - g.x, ly - g.y) for c in self.contours(lead_gid)}
        beyond = tuple(i for i, c in enumerate(self.contours(g.gid)) if c not in own)
        if not beyond or len(beyond) == len(self.contours(g.gid)):
            return None
        return [(g.gid, g.x, g.y)], [beyond]

    def _points(self, parts, contours):
        points = []
        for i, (gid, x, y) in enumerate(parts):
            drawn = contours[i] if contours is not None and contours[i] is not None else None
            for n, c in enumerate(self.contours(gid)):
                if drawn is None or n in drawn:
                    points += [(px + x, py + y) for px, py in c]
        return points

    def _place(self, recipe, found):
        """Where the origin of the part's glyph (`recipe`) goes for its
        points to fall where the source font draws the part `found`: the
        move that brings most of them onto its points, when it brings at
        least half of them; None otherwise."""
        mine = self._points(recipe.parts, recipe.contours)
        theirs = set(self._points(*found))
        votes = Counter((tx - mx, ty - my) for mx, my in mine for tx, ty in theirs)
        if not votes:
            return None
        move, count = min(votes.items(), key=lambda item: (-item[1], item[0]))
        return move if 2 * count >= len(mine) else None


def _moved(contour, dx, dy):
    return tuple((x + dx, y + dy) for x, y in contour)
