#pragma once

// The platform clipboard, in the plain-text format: legacy bytes through the
// Windows-1252 table.

#include <string>

namespace rt {

class Clipboard {
public:
    void SetText(const std::string &text);
    // The clipboard's text; empty when it holds none.
    std::string GetText() const;
};

} // namespace rt
