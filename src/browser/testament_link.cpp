#include "browser/testament_link.h"

namespace velumir {

void openTestamentLink(rt::Connection &cnTestament, rt::Recordset &rsWords, const TestamentSource &source)
{
    cnTestament.Open("file name=" + source.dataLinkFile, "", "", -1);
    rsWords.Open("select word from " + source.chapterTable, cnTestament, 2, 3, 1);
}

void closeTestamentLink(rt::Connection &cnTestament, rt::Recordset &rsWords)
{
    rsWords.Close();
    cnTestament.Close();
}

void releaseTestamentLink(rt::Connection &cnTestament, rt::Recordset &rsWords)
{
    if (rsWords.State() == 1)
        rsWords.Close();
    if (cnTestament.State() == 1)
        cnTestament.Close();
}

} // namespace velumir
