#pragma once

// One book of a Testament's catalogue: its key in the tree, its caption
// (legacy Khmer bytes, shown unchanged) and its number of chapters.

#include <span>
#include <string_view>

namespace velumir {

struct Book {
    std::string_view key;
    std::string_view caption;
    int chapters;
};

using Catalogue = std::span<const Book>;

} // namespace velumir
