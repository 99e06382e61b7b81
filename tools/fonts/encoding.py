"""The table of the legacy Khmer font encoding (limon_encoding.tsv)."""

ROLES = ("base", "joins", "pre", "after", "sub", "below", "above", "part")
MARK_ROLES = ("sub", "below", "above", "part")


class Entry:
    """One byte of the encoding: its role and the Unicode text it stands for."""

    __slots__ = ("byte", "role", "text", "names")

    def __init__(self, byte, role, text, names):
        self.byte = byte
        self.role = role
        self.text = text
        self.names = names

    @property
    def char(self):
        """The Windows-1252 character that holds the byte."""
        return windows1252(self.byte)

    @property
    def is_mark(self):
        return self.role in MARK_ROLES

    @property
    def is_letter(self):
        """A single Khmer consonant or independent vowel: a base that marks attach to."""
        return self.role == "base" and len(self.text) == 1 and 0x1780 <= ord(self.text) <= 0x17B3


def windows1252(byte):
    """The character of a byte in Windows-1252; None for its five undefined bytes
    and the control characters."""
    if byte < 0x20 or byte == 0x7F:
        return None
    try:
        return bytes([byte]).decode("cp1252")
    except UnicodeDecodeError:
        return None


def tsv_rows(path, count, expected):
    """The rows of a tab-separated table, each with its line number; lines
    empty or starting with # are left out. A row of another number of fields
    than `count` is an error that says what was `expected`."""
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != count:
                raise ValueError(f"{path}:{number}: expected {expected}")
            yield number, fields


class Spelling:
    """A character written with several bytes, the last of them a part."""

    __slots__ = ("bytes", "text", "names")

    def __init__(self, byte_values, text, names):
        self.bytes = byte_values
        self.text = text
        self.names = names


def read_table(path):
    """The bytes of the encoding (Entry) and the spellings (Spelling)."""
    entries, spellings = [], []
    for number, fields in tsv_rows(path, 4, "byte, role, unicode, names"):
        if fields[1] not in ROLES + ("spells",):
            raise ValueError(f"{path}:{number}: no such role {fields[1]}")
        byte_values = [int(b, 16) for b in fields[0].split()]
        text = "".join(chr(int(code, 16)) for code in fields[2].split())
        if any(windows1252(b) is None for b in byte_values) or not text:
            raise ValueError(f"{path}:{number}: no character for byte {fields[0]}")
        if fields[1] == "spells":
            spellings.append(Spelling(byte_values, text, fields[3]))
        elif len(byte_values) != 1:
            raise ValueError(f"{path}:{number}: one byte expected")
        else:
            entries.append(Entry(byte_values[0], fields[1], text, fields[3]))
    if len({e.byte for e in entries}) != len(entries):
        raise ValueError(f"{path}: a byte is listed twice")
    roles = {e.byte: e.role for e in entries}
    for s in spellings:
        if len(s.bytes) < 2 or roles.get(s.bytes[-1]) != "part" or any(b not in roles for b in s.bytes):
            raise ValueError(f"{path}: the spelling {s.names} is not bytes of the table ending in a part")
    return entries, spellings
