// Feeds arbitrary bytes to the RTF reader. Besides ending cleanly, what it
// reads must survive the writer: written and read again, the document has the
// same text, and writing that gives the same file. Read into a measure, the
// same input counts what the document holds.

#include "runtime/text/rtf_reader.h"
#include "runtime/text/rtf_writer.h"
#include "runtime/text/text_measure.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "rtf_reader_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_reader_fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    const rt::rtf::ReadResult result = rt::rtf::readInto(input, cursor);
    if (result.ok != rt::rtf::looksLikeRtf(input))
        fail("ok does not match looksLikeRtf");
    if (!result.ok) {
        if (!doc.isEmpty())
            fail("a refused input changed the document");
        return 0;
    }
    rt::TextMeasure measure(doc.defaultFont(), 200, 80);
    rt::rtf::measure(input, measure);
    const QString raw = doc.toRawText();
    if (measure.characters() != std::size_t(doc.characterCount() - 1) ||
        measure.paragraphs() != std::size_t(doc.blockCount()) ||
        measure.lineBreaks() != std::size_t(raw.count(QChar::LineSeparator)))
        fail("the measure does not count what the document holds");
    const std::string written = rt::rtf::writeDocument(doc);
    QTextDocument again;
    QTextCursor at(&again);
    if (!rt::rtf::readInto(written, at).ok)
        fail("the writer's output was refused");
    if (again.toRawText() != doc.toRawText())
        fail("the text changed on the way through the writer");
    if (rt::rtf::writeDocument(again) != written)
        fail("writing the document read back gives another file");
    return 0;
}
