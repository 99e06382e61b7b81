#pragma once

#include "browser/catalogues/book.h"

namespace velumir {

// The books the Old Testament window adds when its tree is first expanded,
// 2 Kings to Psalms: 8 books, 315 chapters (rows 615 to 929 of the chapter table).
Catalogue secondKingsToPsalms();

} // namespace velumir
