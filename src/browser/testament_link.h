#pragma once

// A browser window's link to its Testament: the connection opened from the
// window's data link file, and the catalogue recordset over its chapter table.

#include "runtime/data/connection.h"
#include "runtime/data/recordset.h"

#include <string>

namespace velumir {

struct TestamentSource {
    std::string dataLinkFile; // a Windows path
    std::string chapterTable;
};

// Connection first, then the catalogue recordset, standing on its first row.
void openTestamentLink(rt::Connection &cnTestament, rt::Recordset &rsWords, const TestamentSource &source);
// The recordset first, then the connection.
void closeTestamentLink(rt::Connection &cnTestament, rt::Recordset &rsWords);
// What a load that failed half-way had opened.
void releaseTestamentLink(rt::Connection &cnTestament, rt::Recordset &rsWords);

} // namespace velumir
