#pragma once

#include "browser/catalogues/book.h"

namespace velumir {

// Matthew to Revelation, in tree order: 27 books, 260 chapters.
Catalogue newTestament();

} // namespace velumir
