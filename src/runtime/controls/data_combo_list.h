#pragma once

// The list of a data-bound combo box: one line per row, every line of one
// height, and only the lines that show are ever read or drawn, so that a
// list of a million lines opens, scrolls and jumps as fast as a short one.
//
// The list has a current line, the one the keys move from, which it shows
// as chosen or not. The user chooses a line by clicking it or with Up,
// Down, Page Up, Page Down, Home and End; with no current line any of them
// chooses the first line (End the last). The program moves the current
// line itself; only the user's choices are reported.

#include <QAbstractScrollArea>
#include <QString>

#include <functional>

namespace rt {

class DataComboList : public QAbstractScrollArea {
public:
    // The text of a line, asked for when the line is drawn.
    using LineText = std::function<QString(long row)>;

    DataComboList(LineText text, QWidget *parent);

    // The number of lines. Setting it puts the list at its top with no current line.
    void setRowCount(long count);
    long rowCount() const { return count_; }

    // The current line, -1 for none, and whether it is shown chosen.
    long currentRow() const { return current_; }
    bool currentIsChosen() const { return chosen_; }

    // Makes `row` the current line, shown chosen, and scrolls it into view:
    // to the top of the list when `toTop`, else as little as it takes.
    void chooseRow(long row, bool toTop);
    // Shows no line chosen; the current line stays, so the keys go on from it.
    void clearChoice();

    // The first line that shows, the height of a line in pixels, where a
    // line lies in the viewport and the line at a point of it (-1 for none).
    long topRow() const;
    int lineHeight() const { return lineHeight_; }
    QRect lineRect(long row) const;
    long rowAt(const QPoint &point) const;
    QString lineText(long row) const { return text_(row); }

    // Called with the row when the user chooses a line.
    std::function<void(long row)> chosenByUser;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int linesShown() const; // lines that fit whole, at least one
    void measureLines();
    void updateScrollBar();
    void scrollTo(long row, bool toTop);
    void userChooses(long row);

    LineText text_;
    long count_ = 0;
    long current_ = -1;
    bool chosen_ = false;
    int lineHeight_ = 1;
};

} // namespace rt
