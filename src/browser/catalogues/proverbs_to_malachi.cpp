#include "browser/catalogues/proverbs_to_malachi.h"

#include <array>

namespace velumir {

namespace {

// Keys "u", "v", "w", then the doubled letters "aa" to "qq" without a gap.
constexpr std::array<Book, 20> kBooks{{
    {"u", "suPasit", 31},
    {"v", "sas\xFE" "a", 12},
    {"w", "bTcMerogsaL\xDAm:Un", 8},
    {"aa", "eGsay", 66},
    {"bb", "eyerma", 52},
    {"cc", "brieTv", 5},
    {"dd", "eGesKal", 48},
    {"ee", "danIEy:l", 12},
    {"ff", "hUes", 14},
    {"gg", "y:UEGl", 3},
    {"hh", "eGm:us", 9},
    {"ii", "GU)aDa", 1},
    {"jj", "y:UNas", 4},
    {"kk", "mIka", 7},
    {"ll", "Nah\x91um", 3},
    {"mm", "ha)aKuk", 3},
    {"nn", "espana", 3},
    {"oo", "hakay", 2},
    {"pp", "sakarI", 14},
    {"qq", "m:aLaKI", 4},
}};

} // namespace

Catalogue proverbsToMalachi()
{
    return kBooks;
}

} // namespace velumir
