#pragma once

// A tree of nodes with keys, captions, tags and images from an image list.
// Nodes.Add places a node relative to another (as its child, relationship 4);
// a duplicate key, an unknown relative or a caption that cannot be read
// fails the add and adds nothing.

#include "runtime/controls/control.h"
#include "runtime/data/variant.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace rt {

class ImageList;
class TreeView;

// Relationship values of Nodes.Add.
constexpr int tvwFirst = 0;
constexpr int tvwLast = 1;
constexpr int tvwNext = 2;
constexpr int tvwPrevious = 3;
constexpr int tvwChild = 4;

class Node {
public:
    const std::string &Key() const { return key_; }
    std::string Text() const;
    void setText(const std::string &text);
    const Variant &Tag() const { return tag_; }
    void setTag(const Variant &tag) { tag_ = tag; }
    bool Expanded() const;
    void setExpanded(bool expanded);
    Node *Parent() const;
    int Children() const;
    Node *Child() const;   // the first child, or nothing
    Node *Next() const;    // the next sibling, or nothing
    QTreeWidgetItem *item() const { return item_; }

private:
    friend class TreeView;
    friend class Nodes;
    TreeView *tree_ = nullptr;
    QTreeWidgetItem *item_ = nullptr;
    std::string key_;
    Variant tag_;
};

class Nodes {
public:
    explicit Nodes(TreeView &tree) : tree_(tree) {}
    Node &Add(const Variant &relative = {}, const Variant &relationship = {}, const Variant &key = {},
              const Variant &text = {}, const Variant &image = {}, const Variant &selectedImage = {});
    int Count() const;
    Node &Item(const std::string &key);
    Node &Item(int index); // from 1, in the order added
    void Clear();

private:
    TreeView &tree_;
};

class TreeView : public Control {
public:
    TreeView(Form &form, QWidget *container);
    ~TreeView() override;

    Nodes &nodes() { return nodes_; }
    void setImageList(ImageList *images) { images_ = images; }
    void setFont(const FontSpec &font);

    // The selected node, or nothing.
    Node *SelectedItem() const;
    void setSelectedItem(Node *node);

    QTreeWidget *treeWidget() const { return tree_; }
    // Selects the next (1) or previous (-1) leaf node and raises NodeClick for it.
    void stepToLeaf(int direction);
    Node *nodeOf(QTreeWidgetItem *item) const;

    // A click on a node, after it has become the selected one.
    Event<Node &> NodeClick;
    // A node expands.
    Event<Node &> Expand;

private:
    friend class Nodes;
    friend class Node;
    QTreeWidget *tree_;
    ImageList *images_ = nullptr;
    Nodes nodes_;
    std::vector<std::unique_ptr<Node>> all_;
    std::unordered_map<std::string, Node *> byKey_;
    std::unordered_map<QTreeWidgetItem *, Node *> byItem_;
};

} // namespace rt
