#include "runtime/data/jet/jet_text.h"

#include "runtime/text/legacy_text.h"

#include <iconv.h>

namespace rt::jet {

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

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
    out.clear();
    if (size == 0)
        return true;
    // Each stored byte gives at most two bytes of UTF-8: a compressed Jet 4
    // character or a Latin-1 one two, a plain UCS-2 one (two bytes) three.
    const std::size_t room = 2 * size + 16;
    if (buffer_.size() < room)
        buffer_.resize(room);
    const int length = mdb_unicode2ascii(mdb_, static_cast<const char *>(stored), size, buffer_.data(), room);
    if (length < 0 || std::size_t(length) + 8 > room)
        return false;
    out.assign(buffer_.data(), std::size_t(length));
    if (jet3_)
        out = latin1ToWindows1252(out);
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
