#include "browser/book_tree.h"

namespace velumir {

void addRootNode(rt::TreeView &tv, rt::Node *&nodAdded)
{
    nodAdded = &tv.nodes().Add({}, {}, kRootKey, kRootCaption, 1, 2);
    nodAdded->setTag("root");
}

} // namespace velumir
