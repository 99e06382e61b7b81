#pragma once

#include "browser/catalogues/book.h"

namespace velumir {

// The books the Old Testament window adds at its first activation, Proverbs
// to Malachi: 20 books, 301 chapters (rows 314 to 614 of the chapter table).
Catalogue proverbsToMalachi();

} // namespace velumir
