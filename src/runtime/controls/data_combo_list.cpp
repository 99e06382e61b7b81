#include "runtime/controls/data_combo_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace rt {

DataComboList::DataComboList(LineText text, QWidget *parent) : QAbstractScrollArea(parent), text_(std::move(text))
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    measureLines();
}

void DataComboList::setRowCount(long count)
{
    count_ = std::max(0L, count);
    current_ = -1;
    chosen_ = false;
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void DataComboList::chooseRow(long row, bool toTop)
{
    if (row < 0 || row >= count_)
        return;
    current_ = row;
    chosen_ = true;
    scrollTo(row, toTop);
    viewport()->update();
}

void DataComboList::clearChoice()
{
    chosen_ = false;
    viewport()->update();
}

long DataComboList::topRow() const
{
    return verticalScrollBar()->value();
}

QRect DataComboList::lineRect(long row) const
{
    return QRect(0, int(row - topRow()) * lineHeight_, viewport()->width(), lineHeight_);
}

long DataComboList::rowAt(const QPoint &point) const
{
    if (!viewport()->rect().contains(point))
        return -1;
    const long row = topRow() + point.y() / lineHeight_;
    return row < count_ ? row : -1;
}

int DataComboList::linesShown() const
{
    return std::max(1, viewport()->height() / lineHeight_);
}

// As tall as the platform's item views make a line of text in this font.
void DataComboList::measureLines()
{
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.font = font();
    option.fontMetrics = fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    lineHeight_ = std::max(1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
    updateScrollBar();
}

void DataComboList::updateScrollBar()
{
    const int shown = linesShown();
    verticalScrollBar()->setRange(0, int(std::max(0L, count_ - shown)));
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setSingleStep(1);
}

void DataComboList::scrollTo(long row, bool toTop)
{
    const long top = topRow();
    const long shown = linesShown();
    long newTop = top;
    if (toTop || row < top)
        newTop = row;
    else if (row >= top + shown)
        newTop = row - shown + 1;
    verticalScrollBar()->setValue(int(newTop));
}

void DataComboList::userChooses(long row)
{
    const bool changed = row != current_ || !chosen_;
    chooseRow(row, false);
    if (changed && chosenByUser)
        chosenByUser(row);
}

void DataComboList::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    const long top = topRow();
    const long first = top + std::max(0, area.top()) / lineHeight_;
    const long last = std::min(count_ - 1, top + area.bottom() / lineHeight_);

    QStyleOptionViewItem option;
    option.initFrom(this);
    option.font = font();
    option.fontMetrics = fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    // Cut at the list's edge: the legacy fonts have no ellipsis, and "..." draws as Khmer full stops.
    option.textElideMode = Qt::ElideNone;
    option.viewItemPosition = QStyleOptionViewItem::OnlyOne;
    option.showDecorationSelected = style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
    const QStyle::State state = option.state & ~(QStyle::State_HasFocus | QStyle::State_Selected);
    for (long row = first; row <= last; ++row) {
        option.rect = lineRect(row);
        option.text = text_(row);
        option.state = state;
        if (row == current_ && chosen_)
            option.state |= QStyle::State_Selected;
        if (row == current_ && hasFocus())
            option.state |= QStyle::State_HasFocus;
        style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
    }
}

void DataComboList::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void DataComboList::keyPressEvent(QKeyEvent *event)
{
    const bool none = current_ < 0;
    const long page = std::max(1, linesShown() - 1);
    long row = 0;
    switch (event->key()) {
    case Qt::Key_Up: row = none ? 0 : current_ - 1; break;
    case Qt::Key_Down: row = none ? 0 : current_ + 1; break;
    case Qt::Key_PageUp: row = none ? 0 : current_ - page; break;
    case Qt::Key_PageDown: row = none ? 0 : current_ + page; break;
    case Qt::Key_Home: row = 0; break;
    case Qt::Key_End: row = count_ - 1; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
    if (count_ > 0)
        userChooses(std::clamp(row, 0L, count_ - 1));
}

void DataComboList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (const long row = rowAt(event->position().toPoint()); row >= 0)
        userChooses(row);
}

void DataComboList::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        measureLines();
        viewport()->update();
    }
}

void DataComboList::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void DataComboList::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void DataComboList::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace rt
