#pragma once

// OT: the browser of the Old Testament. Its tree is built in three parts from
// one catalogue recordset: Genesis to 1 Kings while it loads, Proverbs to
// Malachi at its first activation after the load, and 2 Kings to Psalms at
// the first expansion of a node after the load. Later activations and
// expansions add nothing and read no row; a new load starts again from row 1.

#include "browser/browser_window.h"

namespace velumir {

class OT : public BrowserWindow {
public:
    explicit OT(rt::Program &program);

protected:
    void design() override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void tv_Expand(rt::Node &Node);

    // Whether the two builders have added their part since the last load.
    bool activationBuilt_ = false;
    bool expansionBuilt_ = false;
};

} // namespace velumir
