#include "browser/catalogues/genesis_to_1_kings.h"

#include <array>

namespace velumir {

namespace {

constexpr std::array<Book, 11> kBooks{{
    {"a", "elakub,t\xFEi", 50},
    {"b", "nik\xE7mnM", 40},
    {"c", "elvIvin\xBDy", 27},
    {"d", "CnKNna", 36},
    {"e", "ecaTiykfa", 34},
    {"f", "y:UesV", 24},
    {"g", "BYkecAhVay", 21},
    {"h", "nagrs;", 4},
    {"i", "saMyUEGl TI1", 31},
    {"j", "saMyUEGl TI2", 24},
    {"k", "BgSavtarkSRt TI1", 22},
}};

} // namespace

Catalogue genesisTo1Kings()
{
    return kBooks;
}

} // namespace velumir
