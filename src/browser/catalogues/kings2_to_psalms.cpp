#include "browser/catalogues/kings2_to_psalms.h"

#include <array>

namespace velumir {

namespace {

// There is no book "o".
constexpr std::array<Book, 8> kBooks{{
    {"l", "BgSavtarkSRt TI2", 25},
    {"m", "r)akSRt TI1", 29},
    {"n", "r)akSRt TI2", 36},
    {"p", "EGsr:a", 10},
    {"q", "enehma", 13},
    {"r", "nageGseFIr", 10},
    {"s", "y:Ub", 42},
    {"t", "TMnukdMekIg", 150},
}};

} // namespace

Catalogue secondKingsToPsalms()
{
    return kBooks;
}

} // namespace velumir
