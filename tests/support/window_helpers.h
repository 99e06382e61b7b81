#pragma once

// Small helpers that act on the real widgets as a user does.

#include "runtime/controls/tree_view.h"

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

} // namespace testing_support
