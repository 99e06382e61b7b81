#include "runtime/data/jet/jet_text.h"

#include "runtime/text/legacy_bytes.h"

#include <iconv.h>

namespace rt::jet {

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

// Writes the UTF-8 of a code point at `out` and returns the end.
char *utf8At(char *out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
    return out;
}

} // namespace

JetText::JetText(MdbHandle *mdb) : mdb_(mdb), jet3_(mdb->f->jet_version == MDB_VER_JET3)
{
    const char *stored = jet3_ ? "ISO-8859-1" : "UCS-2LE";
    mdb_iconv_close(mdb_);
    mdb_->iconv_in = iconv_open("UTF-8", stored);
    mdb_->iconv_out = iconv_open(stored, "UTF-8");
    ready_ = mdb_->iconv_in != NoConverter && mdb_->iconv_out != NoConverter;
}

bool JetText::utf8(const void *stored, std::size_t size, std::string &out)
{
    const auto *bytes = static_cast<const unsigned char *>(stored);
    out.clear();
    if (jet3_) {
        out = toUtf8(std::string_view(reinterpret_cast<const char *>(bytes), size));
        return true;
    }
    // At most two bytes of UTF-8 for each stored byte: a compressed
    // character (one byte) takes two, a plain one (two bytes) three, a
    // surrogate pair (four) four.
    out.resize(2 * size);
    char *at = out.data();
    // Compressed text starts FF FE and holds one byte a character (U+0001 to
    // U+00FF); a 0 byte switches to two bytes a character and back.
    const bool compressed = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    bool single = compressed;
    char32_t high = 0; // the first half of a surrogate pair
    for (std::size_t i = compressed ? 2 : 0; i < size;) {
        if (compressed && bytes[i] == 0) { // so no character with a low byte 0 is ever compressed
            single = !single;
            ++i;
            continue;
        }
        char32_t unit;
        if (single) {
            unit = bytes[i++];
        } else {
            if (i + 1 >= size)
                return false; // half a character
            unit = char32_t(bytes[i] | (bytes[i + 1] << 8));
            i += 2;
        }
        if (high && unit >= 0xDC00 && unit <= 0xDFFF) {
            at = utf8At(at, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
            continue;
        }
        if (high)
            *at++ = '?'; // half a pair, as libmdb gives it
        high = 0;
        if (unit >= 0xD800 && unit <= 0xDBFF)
            high = unit;
        else if (unit >= 0xDC00 && unit <= 0xDFFF)
            *at++ = '?';
        else
            at = utf8At(at, unit);
    }
    if (high)
        *at++ = '?';
    out.resize(std::size_t(at - out.data()));
    return true;
}

std::string JetText::name(std::string_view converted) const
{
    return jet3_ ? latin1ToWindows1252(converted) : std::string(converted);
}

std::string latin1ToWindows1252(std::string_view latin1Utf8)
{
    std::string bytes;
    bytes.reserve(latin1Utf8.size());
    for (std::size_t i = 0; i < latin1Utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(latin1Utf8[i]);
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < latin1Utf8.size()) {
            bytes += char(((lead & 0x03) << 6) | (static_cast<unsigned char>(latin1Utf8[++i]) & 0x3F));
            continue;
        }
        bytes += char(lead);
    }
    return toUtf8(bytes);
}

} // namespace rt::jet
