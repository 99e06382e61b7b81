#pragma once

// What decides whether a text box can lay a text out in time, counted from
// the text and its character formats alone, without laying it out: its
// characters, paragraphs and line breaks, its runs without a space (where
// no line can break but at the line's end), and an estimate of its height
// when wrapped at a width.
//
// The text comes in pieces, in order (addText, endParagraph): a measure can
// follow a document, an RTF reader, or both in turn, and counts what the
// pieces make together. The height estimate wraps each line of a paragraph
// as if it filled every line; a line broken at a word boundary leaves part
// of its line empty, but two lines in a row always hold more than one line's
// width, so the laid-out height is at most twice the estimate.

#include <QFont>
#include <QStringView>

#include <cstddef>
#include <memory>
#include <vector>

class QTextCharFormat;
class QTextDocument;

namespace rt {

class TextMeasure {
public:
    // `lineWidth` is the width of a line in pixels; 0 or less: no wrapping.
    TextMeasure(const QFont &defaultFont, double lineWidth, double tabWidth);
    ~TextMeasure();
    TextMeasure(const TextMeasure &) = delete;
    TextMeasure &operator=(const TextMeasure &) = delete;

    // Text within a paragraph (U+2028 breaks its line); a paragraph separator
    // (U+2029) or a new line ends the paragraph as endParagraph does.
    void addText(QStringView text, const QTextCharFormat &format);
    void endParagraph();
    // Characters [from, to) of a document, paragraph marks as endParagraph.
    void addDocument(const QTextDocument &document, int from = 0, int to = -1);

    // Characters with the paragraph marks between paragraphs.
    std::size_t characters() const { return characters_ + paragraphs_ - 1; }
    std::size_t paragraphs() const { return paragraphs_; }
    std::size_t lineBreaks() const { return lineBreaks_; }
    std::size_t longestRun() const { return std::max(longest_, run_); }
    // The sum over runs without a space of the square of their lengths: the
    // layout's work on runs longer than a line grows with it.
    double unbrokenWork() const { return work_ + double(run_) * double(run_); }
    // Pixels, the document's margins not counted.
    double height() const;

private:
    struct Metrics;
    Metrics &metricsOf(const QTextCharFormat &format);
    void endLine();
    void endRun();

    QFont defaultFont_;
    double lineWidth_;
    double tabWidth_;
    std::vector<std::unique_ptr<Metrics>> metrics_;
    Metrics *last_ = nullptr;

    std::size_t characters_ = 0; // paragraph marks not counted
    std::size_t paragraphs_ = 1;
    std::size_t lineBreaks_ = 0;
    std::size_t run_ = 0;
    std::size_t longest_ = 0;
    double work_ = 0;
    double lineAdvance_ = 0;    // of the line being measured
    double lineHeight_ = 0;     // its tallest font
    double height_ = 0;         // of the lines ended
};

} // namespace rt
