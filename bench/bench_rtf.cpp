// Loading and saving a large document as RTF, against QTextDocument's own HTML
// of the same content. The document: many paragraphs of legacy Khmer bytes in
// runs of mixed font, size, style and colour, with mixed alignment.

#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"
#include "runtime/text/rtf_writer.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr std::size_t kTargetRtfBytes = 5 * 1024 * 1024;

void fill(QTextDocument &doc, int paragraphs)
{
    std::mt19937 random(42);
    const char *families[] = {"Limon S1", "Limon R1", "Limon F3"};
    const QColor colors[] = {QColor(), QColor(200, 0, 0), QColor(0, 0, 160)};
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    QTextCursor c(&doc);
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            c.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(alignments[random() % 4]);
        c.setBlockFormat(block);
        const int runs = 3 + int(random() % 6);
        for (int r = 0; r < runs; ++r) {
            QTextCharFormat f;
            f.setFontFamilies({families[random() % 3]});
            f.setFontPointSize(10 + double(random() % 8));
            if (random() % 4 == 0)
                f.setFontWeight(QFont::Bold);
            if (random() % 5 == 0)
                f.setFontItalic(true);
            if (random() % 7 == 0)
                f.setFontUnderline(true);
            if (const QColor color = colors[random() % 3]; color.isValid())
                f.setForeground(color);
            std::string bytes;
            const int length = 10 + int(random() % 60);
            for (int i = 0; i < length; ++i) {
                const unsigned roll = random() % 10;
                bytes += roll < 6 ? char(0x80 + random() % 0x80) : roll < 9 ? char('a' + random() % 26) : ' ';
            }
            c.insertText(rt::toQString(bytes), f);
        }
    }
}

struct Corpus {
    std::unique_ptr<QTextDocument> doc;
    std::string rtf;
    QString html;
};

const Corpus &corpus()
{
    static const Corpus c = [] {
        Corpus made;
        made.doc = std::make_unique<QTextDocument>();
        made.doc->setUndoRedoEnabled(false);
        // Grow the document until its RTF reaches the target size.
        QTextDocument probe;
        fill(probe, 1000);
        const std::size_t perThousand = rt::rtf::writeDocument(probe).size();
        fill(*made.doc, int(1000 * kTargetRtfBytes / perThousand));
        made.rtf = rt::rtf::writeDocument(*made.doc);
        made.html = made.doc->toHtml();
        std::printf("document: %d paragraphs, %d characters; RTF %.1f MB, HTML %.1f MB\n",
                    made.doc->blockCount(), made.doc->characterCount(), made.rtf.size() / 1048576.0,
                    made.html.toUtf8().size() / 1048576.0);
        return made;
    }();
    return c;
}

void loadRtf(benchmark::State &state, bool undo)
{
    const Corpus &c = corpus();
    for (auto _ : state) {
        QTextDocument doc;
        doc.setUndoRedoEnabled(undo);
        QTextCursor cursor(&doc);
        benchmark::DoNotOptimize(rt::rtf::readInto(c.rtf, cursor).ok);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(c.rtf.size()));
}

void BM_LoadRtf(benchmark::State &state) { loadRtf(state, false); }
void BM_LoadRtfWithUndo(benchmark::State &state) { loadRtf(state, true); }

void BM_LoadHtml(benchmark::State &state)
{
    const Corpus &c = corpus();
    for (auto _ : state) {
        QTextDocument doc;
        doc.setHtml(c.html);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(c.html.size()) * 2);
}

void BM_SaveRtf(benchmark::State &state)
{
    const Corpus &c = corpus();
    for (auto _ : state)
        benchmark::DoNotOptimize(rt::rtf::writeDocument(*c.doc));
}

void BM_SaveHtml(benchmark::State &state)
{
    const Corpus &c = corpus();
    for (auto _ : state)
        benchmark::DoNotOptimize(c.doc->toHtml());
}

BENCHMARK(BM_LoadRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRtfWithUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveHtml)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    corpus();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
