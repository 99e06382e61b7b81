#include "browser/catalogues/genesis_to_1_kings.h"
#include "browser/catalogues/kings2_to_psalms.h"
#include "browser/catalogues/new_testament.h"
#include "browser/catalogues/proverbs_to_malachi.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <string>
#include <vector>

using velumir::Catalogue;

namespace {

int chapters(Catalogue books)
{
    return std::accumulate(books.begin(), books.end(), 0,
                           [](int sum, const velumir::Book &book) { return sum + book.chapters; });
}

// Keys must be unique across one window's tree, and none may end in a digit
// or a chapter key could clash with it.
void expectUniqueKeys(const std::vector<Catalogue> &parts)
{
    std::set<std::string_view> keys;
    std::set<std::string_view> captions;
    for (Catalogue part : parts) {
        for (const velumir::Book &book : part) {
            EXPECT_TRUE(keys.insert(book.key).second) << book.key;
            EXPECT_TRUE(captions.insert(book.caption).second) << book.caption;
            ASSERT_FALSE(book.key.empty());
            EXPECT_EQ(book.key.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string_view::npos);
            EXPECT_GT(book.chapters, 0);
        }
    }
}

} // namespace

TEST(Catalogues, BookAndChapterCounts)
{
    EXPECT_EQ(velumir::newTestament().size(), 27u);
    EXPECT_EQ(chapters(velumir::newTestament()), 260);
    EXPECT_EQ(velumir::genesisTo1Kings().size(), 11u);
    EXPECT_EQ(chapters(velumir::genesisTo1Kings()), 313);
    EXPECT_EQ(velumir::proverbsToMalachi().size(), 20u);
    EXPECT_EQ(chapters(velumir::proverbsToMalachi()), 301);
    EXPECT_EQ(velumir::secondKingsToPsalms().size(), 8u);
    EXPECT_EQ(chapters(velumir::secondKingsToPsalms()), 315);
}

TEST(Catalogues, KeysAndCaptionsUniqueWithinEachTestament)
{
    expectUniqueKeys({velumir::newTestament()});
    expectUniqueKeys({velumir::genesisTo1Kings(), velumir::proverbsToMalachi(),
                      velumir::secondKingsToPsalms()});
}

// Every book of a catalogue, in tree order, as the design writes it: key,
// caption bytes and number of chapters.
struct Entry {
    std::string_view key;
    std::string caption;
    int chapters;
};

void expectCatalogue(Catalogue books, const std::vector<Entry> &expected)
{
    ASSERT_EQ(books.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(books[i].key, expected[i].key) << "book " << i + 1;
        EXPECT_EQ(std::string(books[i].caption), expected[i].caption) << expected[i].key;
        EXPECT_EQ(books[i].chapters, expected[i].chapters) << expected[i].key;
    }
}

TEST(Catalogues, NewTestament)
{
    expectCatalogue(velumir::newTestament(), {
        {"a", "m:afay", 28},                 // Matthew
        {"b", "m:akus", 16},                 // Mark
        {"c", "lUka", 24},                   // Luke
        {"d", "y:Uhan", 21},                 // John
        {"e", "kic" "\xA9" "kar", 28},       // Acts
        {"f", "r:Um", 16},                   // Romans
        {"g", "kUrinfUs TI1", 16},           // 1 Corinthians
        {"h", "kUrinfUs TI2", 13},           // 2 Corinthians
        {"i", "kaLaTI", 6},                  // Galatians
        {"j", "eGePsUr", 6},                 // Ephesians
        {"k", "PIlIB", 4},                   // Philippians
        {"l", "kUl:us", 4},                  // Colossians
        {"m", "EfsSaL" "\xDA" "nic TI1", 5}, // 1 Thessalonians
        {"n", "EfsSaL" "\xDA" "nic TI2", 3}, // 2 Thessalonians
        {"o", "FIm:Uef TI1", 6},             // 1 Timothy
        {"p", "FIm:Uef TI2", 4},             // 2 Timothy
        {"r", "TItus", 3},                   // Titus
        {"s", "PIelm:Un", 1},                // Philemon
        {"t", "eheRBIr", 13},                // Hebrews
        {"u", "y:akub", 5},                  // James
        {"v", "eBRtus TI1", 5},              // 1 Peter
        {"w", "eBRtus TI2", 3},              // 2 Peter
        {"x", "y:Uhan TI1", 5},              // 1 John
        {"y", "y:Uhan TI2", 1},              // 2 John
        {"z", "y:Uhan TI3", 1},              // 3 John
        {"zz", "yUdas", 1},                  // Jude
        {"xx", "vivrN" "\xB3", 22},          // Revelation
    });
}

TEST(Catalogues, GenesisTo1Kings)
{
    expectCatalogue(velumir::genesisTo1Kings(), {
        {"a", "elakub,t" "\xFE" "i", 50}, // Genesis
        {"b", "nik" "\xE7" "mnM", 40},    // Exodus
        {"c", "elvIvin" "\xBD" "y", 27},  // Leviticus
        {"d", "CnKNna", 36},              // Numbers
        {"e", "ecaTiykfa", 34},           // Deuteronomy
        {"f", "y:UesV", 24},              // Joshua
        {"g", "BYkecAhVay", 21},          // Judges
        {"h", "nagrs;", 4},               // Ruth
        {"i", "saMyUEGl TI1", 31},        // 1 Samuel
        {"j", "saMyUEGl TI2", 24},        // 2 Samuel
        {"k", "BgSavtarkSRt TI1", 22},    // 1 Kings
    });
}

TEST(Catalogues, ProverbsToMalachi)
{
    expectCatalogue(velumir::proverbsToMalachi(), {
        {"u", "suPasit", 31},                  // Proverbs
        {"v", "sas" "\xFE" "a", 12},           // Ecclesiastes
        {"w", "bTcMerogsaL" "\xDA" "m:Un", 8}, // Song of Songs
        {"aa", "eGsay", 66},                   // Isaiah
        {"bb", "eyerma", 52},                  // Jeremiah
        {"cc", "brieTv", 5},                   // Lamentations
        {"dd", "eGesKal", 48},                 // Ezekiel
        {"ee", "danIEy:l", 12},                // Daniel
        {"ff", "hUes", 14},                    // Hosea
        {"gg", "y:UEGl", 3},                   // Joel
        {"hh", "eGm:us", 9},                   // Amos
        {"ii", "GU)aDa", 1},                   // Obadiah
        {"jj", "y:UNas", 4},                   // Jonah
        {"kk", "mIka", 7},                     // Micah
        {"ll", "Nah" "\x91" "um", 3},          // Nahum
        {"mm", "ha)aKuk", 3},                  // Habakkuk
        {"nn", "espana", 3},                   // Zephaniah
        {"oo", "hakay", 2},                    // Haggai
        {"pp", "sakarI", 14},                  // Zechariah
        {"qq", "m:aLaKI", 4},                  // Malachi
    });
}

TEST(Catalogues, SecondKingsToPsalms)
{
    expectCatalogue(velumir::secondKingsToPsalms(), {
        {"l", "BgSavtarkSRt TI2", 25}, // 2 Kings
        {"m", "r)akSRt TI1", 29},      // 1 Chronicles
        {"n", "r)akSRt TI2", 36},      // 2 Chronicles
        {"p", "EGsr:a", 10},           // Ezra
        {"q", "enehma", 13},           // Nehemiah
        {"r", "nageGseFIr", 10},       // Esther
        {"s", "y:Ub", 42},             // Job
        {"t", "TMnukdMekIg", 150},     // Psalms
    });
}
