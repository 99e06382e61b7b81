#pragma once

// NT: the browser of the New Testament. It opens its database and builds its
// whole tree of 27 books and 260 chapters while it loads.

#include "browser/browser_window.h"

namespace velumir {

class NT : public BrowserWindow {
public:
    explicit NT(rt::Program &program);

protected:
    void Form_Load() override;
};

} // namespace velumir
