#include "browser/chapter_lookup.h"

#include "browser/book_tree.h"
#include "runtime/data/recordset.h"

namespace velumir {

std::string sqlLiteralBody(std::string_view text)
{
    std::string body;
    body.reserve(text.size());
    for (char c : text) {
        body += c;
        if (c == '\'')
            body += '\'';
    }
    return body;
}

void lookUpChapter(rt::TreeView &tv, rt::Connection &cnTestament, rt::RichTextBox &Text1,
                   const std::string &chapterTable)
{
    rt::Node *selected = tv.SelectedItem();
    if (!selected)
        rt::raise(rt::err::ObjectNotSet);
    const rt::Variant tag = selected->Tag();
    const bool chapter = tag.isString() && tag.toString() == kChapterTag;
    if (!chapter) {
        Text1.setText("");
        return;
    }
    rt::Recordset rsChapter;
    rsChapter.Open("select * from " + chapterTable + " where word='" + sqlLiteralBody(tv.SelectedItem()->Text()) +
                       "'",
                   cnTestament, -1, -1, -1);
    if (rsChapter.Eof())
        return;
    Text1.setText(rsChapter.Fields(1).Value().toString());
}

} // namespace velumir
