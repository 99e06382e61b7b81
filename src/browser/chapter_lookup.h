#pragma once

// The chapter lookup: a click on a chapter node shows that chapter's text
// from the chapter table; a click on the root or a book empties the pane.

#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/tree_view.h"
#include "runtime/data/connection.h"

#include <string>
#include <string_view>

namespace velumir {

// The caption as the body of an SQL string literal: each single quote written twice.
std::string sqlLiteralBody(std::string_view text);

void lookUpChapter(rt::TreeView &tv, rt::Connection &cnTestament, rt::RichTextBox &Text1,
                   const std::string &chapterTable);

} // namespace velumir
