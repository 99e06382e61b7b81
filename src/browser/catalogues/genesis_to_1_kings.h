#pragma once

#include "browser/catalogues/book.h"

namespace velumir {

// The books the Old Testament window adds while it loads, Genesis to 1 Kings:
// 11 books, 313 chapters, captioned by the first 313 rows of the chapter table.
Catalogue genesisTo1Kings();

} // namespace velumir
