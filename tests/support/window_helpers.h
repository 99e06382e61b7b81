#pragma once

// Small helpers that act on the real widgets as a user does.

#include "runtime/controls/tree_view.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>

namespace testing_support {

// Expands the node's ancestors, scrolls it into view and clicks it.
inline void clickNode(rt::TreeView &tv, rt::Node &node)
{
    QTreeWidget *tree = tv.treeWidget();
    for (QTreeWidgetItem *parent = node.item()->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->scrollToItem(node.item());
    const QRect rect = tree->visualItemRect(node.item());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

// Drags the lower right corner of a child window's frame to `to` (in the
// window's own coordinates) with the mouse.
inline void dragFrameCorner(QMdiSubWindow *sub, QPoint to)
{
    // The frame finds its grips anew a moment after its size has changed.
    QTest::qWait(250);
    const QPoint corner(sub->width() - 2, sub->height() - 2);
    auto send = [sub](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), sub->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(sub, &event);
    };
    send(QEvent::MouseMove, corner, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace testing_support
