#include "runtime/controls/tree_view.h"

#include "runtime/controls/image_list.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidgetItemIterator>
#include <QTreeWidget>

#include <map>
#include <tuple>

namespace rt {

// The tree's own keyboard handling: Alt+Down moves to the next leaf node (a
// chapter, into the next book when a book ends) and Alt+Up to the previous
// one, each shown as a click on it would show it.
class TreeWidget : public QTreeWidget {
public:
    TreeWidget(TreeView &owner, QWidget *parent) : QTreeWidget(parent), owner_(owner) {}

    // The icon of a node from its two pictures, made once per pair: the
    // nodes that show the same pictures share one icon.
    QIcon nodeIcon(const QIcon &normal, const QIcon &selected, int size)
    {
        const IconKey key{normal.isNull() ? 0 : normal.cacheKey(), selected.isNull() ? 0 : selected.cacheKey(), size};
        auto found = icons_.find(key);
        if (found != icons_.end())
            return found->second;
        QIcon icon;
        if (!normal.isNull())
            icon.addPixmap(normal.pixmap(size, size), QIcon::Normal);
        if (!selected.isNull())
            icon.addPixmap(selected.pixmap(size, size), QIcon::Selected);
        icons_.emplace(key, icon);
        return icon;
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->modifiers() == Qt::AltModifier && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
            event->accept();
            owner_.stepToLeaf(event->key() == Qt::Key_Down ? 1 : -1);
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }

private:
    using IconKey = std::tuple<qint64, qint64, int>;
    TreeView &owner_;
    std::map<IconKey, QIcon> icons_;
};

// ---- Node

std::string Node::Text() const
{
    return fromQString(item_->text(0));
}

void Node::setText(const std::string &text)
{
    item_->setText(0, toQString(text));
}

bool Node::Expanded() const
{
    return item_->isExpanded();
}

void Node::setExpanded(bool expanded)
{
    item_->setExpanded(expanded);
}

Node *Node::Parent() const
{
    return tree_->nodeOf(item_->parent());
}

int Node::Children() const
{
    return item_->childCount();
}

Node *Node::Child() const
{
    return item_->childCount() ? tree_->nodeOf(item_->child(0)) : nullptr;
}

Node *Node::Next() const
{
    QTreeWidgetItem *parent = item_->parent();
    if (parent) {
        const int i = parent->indexOfChild(item_);
        return i + 1 < parent->childCount() ? tree_->nodeOf(parent->child(i + 1)) : nullptr;
    }
    QTreeWidget *widget = item_->treeWidget();
    const int i = widget->indexOfTopLevelItem(item_);
    return i + 1 < widget->topLevelItemCount() ? tree_->nodeOf(widget->topLevelItem(i + 1)) : nullptr;
}

// ---- Nodes

Node &Nodes::Add(const Variant &relative, const Variant &relationship, const Variant &key, const Variant &text,
                 const Variant &image, const Variant &selectedImage)
{
    // Everything that can fail is checked before the tree changes.
    Node *relativeNode = nullptr;
    if (!relative.isEmpty()) {
        auto found = tree_.byKey_.find(relative.toString());
        if (found == tree_.byKey_.end())
            raise(err::ElementNotFound);
        relativeNode = found->second;
    }
    const int how = relationship.isEmpty() ? tvwLast : int(relationship.toInteger());
    if (how < tvwFirst || how > tvwChild)
        raise(err::InvalidProcedureCall);
    const std::string nodeKey = key.isEmpty() ? std::string() : key.toString();
    if (!nodeKey.empty() && tree_.byKey_.count(nodeKey))
        raise(err::KeyNotUnique);
    const std::string caption = text.toString();
    QIcon icon;
    if (!image.isEmpty() || !selectedImage.isEmpty()) {
        if (!tree_.images_)
            raise(35613, "ImageList must be initialized before it can be used");
        const int size = tree_.images_->imageSize().width();
        const QIcon normal = image.isEmpty() ? QIcon() : tree_.images_->image(image);
        const Variant &selected = selectedImage.isEmpty() ? image : selectedImage;
        const QIcon selectedIcon = selected.isEmpty() ? QIcon() : tree_.images_->image(selected);
        icon = static_cast<TreeWidget *>(tree_.tree_)->nodeIcon(normal, selectedIcon, size);
    }

    auto *item = new QTreeWidgetItem;
    item->setText(0, toQString(caption));
    item->setIcon(0, icon);
    QTreeWidget *widget = tree_.tree_;
    if (!relativeNode) {
        if (how == tvwFirst)
            widget->insertTopLevelItem(0, item);
        else
            widget->addTopLevelItem(item);
    } else if (how == tvwChild) {
        relativeNode->item_->addChild(item);
    } else {
        QTreeWidgetItem *anchor = relativeNode->item_;
        QTreeWidgetItem *parent = anchor->parent();
        const int at = parent ? parent->indexOfChild(anchor) : widget->indexOfTopLevelItem(anchor);
        int position = how == tvwFirst ? 0 : how == tvwLast ? -1 : how == tvwNext ? at + 1 : at;
        if (parent) {
            if (position < 0)
                parent->addChild(item);
            else
                parent->insertChild(position, item);
        } else if (position < 0) {
            widget->addTopLevelItem(item);
        } else {
            widget->insertTopLevelItem(position, item);
        }
    }

    auto node = std::make_unique<Node>();
    node->tree_ = &tree_;
    node->item_ = item;
    node->key_ = nodeKey;
    Node *raw = node.get();
    tree_.all_.push_back(std::move(node));
    if (!nodeKey.empty())
        tree_.byKey_[nodeKey] = raw;
    tree_.byItem_[item] = raw;
    return *raw;
}

int Nodes::Count() const
{
    return int(tree_.all_.size());
}

Node &Nodes::Item(const std::string &key)
{
    auto found = tree_.byKey_.find(key);
    if (found == tree_.byKey_.end())
        raise(err::ElementNotFound);
    return *found->second;
}

Node &Nodes::Item(int index)
{
    if (index < 1 || index > Count())
        raise(35600, "Index out of bounds");
    return *tree_.all_[std::size_t(index - 1)];
}

void Nodes::Clear()
{
    tree_.tree_->clear();
    tree_.all_.clear();
    tree_.byKey_.clear();
    tree_.byItem_.clear();
}

// ---- TreeView

TreeView::TreeView(Form &form, QWidget *container)
    : Control(form, container, new TreeWidget(*this, container)), NodeClick(form.program()), Expand(form.program()),
      tree_(static_cast<QTreeWidget *>(widget())), nodes_(*this)
{
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    // A caption longer than the pane is cut at the pane's edge and the tree
    // scrolls sideways to it, as the platform's tree does: the legacy fonts
    // have no ellipsis, and the "..." Qt writes for one draws as Khmer full stops.
    tree_->setTextElideMode(Qt::ElideNone);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QObject::connect(tree_, &QTreeWidget::itemClicked, tree_, [this](QTreeWidgetItem *item, int) {
        if (Node *node = nodeOf(item))
            NodeClick.raise(*node);
    });
    QObject::connect(tree_, &QTreeWidget::itemExpanded, tree_, [this](QTreeWidgetItem *item) {
        if (Node *node = nodeOf(item))
            Expand.raise(*node);
    });
}

TreeView::~TreeView() = default;

void TreeView::setFont(const FontSpec &font)
{
    tree_->setFont(fontOf(font));
}

Node *TreeView::nodeOf(QTreeWidgetItem *item) const
{
    auto found = byItem_.find(item);
    return found == byItem_.end() ? nullptr : found->second;
}

void TreeView::stepToLeaf(int direction)
{
    QTreeWidgetItem *current = tree_->currentItem();
    QTreeWidgetItem *target = nullptr;
    if (!current) {
        if (direction > 0)
            for (QTreeWidgetItemIterator it(tree_); *it && !target; ++it)
                if ((*it)->childCount() == 0)
                    target = *it;
    } else {
        QTreeWidgetItemIterator it(current);
        for (direction > 0 ? ++it : --it; *it; direction > 0 ? ++it : --it)
            if ((*it)->childCount() == 0 && (*it)->parent()) {
                target = *it;
                break;
            }
    }
    Node *node = nodeOf(target);
    if (!node)
        return;
    for (QTreeWidgetItem *parent = target->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree_->setCurrentItem(target);
    tree_->scrollToItem(target);
    NodeClick.raise(*node);
}

Node *TreeView::SelectedItem() const
{
    return nodeOf(tree_->currentItem());
}

void TreeView::setSelectedItem(Node *node)
{
    tree_->setCurrentItem(node ? node->item() : nullptr);
}

} // namespace rt
