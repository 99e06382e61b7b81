#include "runtime/text/text_measure.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cmath>

namespace rt {

// The advances of one font, looked up once per character.
struct TextMeasure::Metrics {
    explicit Metrics(const QFont &f) : font(f), metrics(f)
    {
        // A line is as tall as its tallest font; the layout rounds each line up.
        lineHeight = std::ceil(metrics.lineSpacing()) + 1;
        latin.fill(-1);
    }

    double advance(char16_t c)
    {
        if (c < latin.size()) {
            float &a = latin[c];
            if (a < 0)
                a = float(metrics.horizontalAdvance(QChar(c)));
            return a;
        }
        auto it = others.constFind(c);
        if (it == others.constEnd())
            it = others.insert(c, metrics.horizontalAdvance(QChar(c)));
        return *it;
    }

    QFont font;
    QFontMetricsF metrics;
    double lineHeight;
    std::array<float, 256> latin;
    QHash<char16_t, double> others;
};

TextMeasure::TextMeasure(const QFont &defaultFont, double lineWidth, double tabWidth)
    : defaultFont_(defaultFont), lineWidth_(lineWidth), tabWidth_(tabWidth)
{
}

TextMeasure::~TextMeasure() = default;

TextMeasure::Metrics &TextMeasure::metricsOf(const QTextCharFormat &format)
{
    const QFont font = format.font().resolve(defaultFont_);
    if (last_ && last_->font == font)
        return *last_;
    auto it = std::find_if(metrics_.begin(), metrics_.end(), [&](const auto &m) { return m->font == font; });
    if (it == metrics_.end()) {
        metrics_.push_back(std::make_unique<Metrics>(font));
        it = metrics_.end() - 1;
    }
    last_ = it->get();
    return *last_;
}

void TextMeasure::addText(QStringView text, const QTextCharFormat &format)
{
    Metrics &m = metricsOf(format);
    lineHeight_ = std::max(lineHeight_, m.lineHeight);
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\n' || c == QChar::ParagraphSeparator) {
            endParagraph();
            lineHeight_ = m.lineHeight;
            continue;
        }
        ++characters_;
        if (c == QChar::LineSeparator) {
            ++lineBreaks_;
            endRun();
            endLine();
            lineHeight_ = m.lineHeight;
        } else if (c == u'\t') {
            endRun();
            lineAdvance_ += tabWidth_;
        } else {
            if (qc.isSpace())
                endRun();
            else
                ++run_;
            lineAdvance_ += m.advance(c);
        }
    }
}

void TextMeasure::endParagraph()
{
    endRun();
    endLine();
    ++paragraphs_;
}

void TextMeasure::addDocument(const QTextDocument &document, int from, int to)
{
    const int end = to < 0 ? document.characterCount() - 1 : to;
    if (from >= end)
        return;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= end;
         block = block.next()) {
        if (block.position() > from)
            endParagraph();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int stop = std::min(end, fragment.position() + fragment.length());
            if (start < stop)
                addText(QStringView(fragment.text()).mid(start - fragment.position(), stop - start),
                        fragment.charFormat());
        }
        if (block.length() == 1)
            lineHeight_ = std::max(lineHeight_, metricsOf(block.charFormat()).lineHeight);
    }
}

void TextMeasure::endRun()
{
    longest_ = std::max(longest_, run_);
    work_ += double(run_) * double(run_);
    run_ = 0;
}

void TextMeasure::endLine()
{
    if (lineHeight_ == 0)
        lineHeight_ = metricsOf(QTextCharFormat()).lineHeight;
    const double lines = lineWidth_ > 0 ? std::floor(lineAdvance_ / lineWidth_) + 1 : 1;
    height_ += lines * lineHeight_;
    lineAdvance_ = 0;
    lineHeight_ = 0;
}

double TextMeasure::height() const
{
    const double open = lineWidth_ > 0 ? std::floor(lineAdvance_ / lineWidth_) + 1 : 1;
    const double lastHeight = lineHeight_ > 0 ? lineHeight_ : (last_ ? last_->lineHeight : 0);
    return height_ + open * lastHeight;
}

} // namespace rt
