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

std::string captionOf(Catalogue books, std::string_view key)
{
    for (const velumir::Book &book : books) {
        if (book.key == key)
            return std::string(book.caption);
    }
    return "<no book " + std::string(key) + ">";
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

TEST(Catalogues, OrderAtTheEdges)
{
    const Catalogue nt = velumir::newTestament();
    EXPECT_EQ(nt.front().key, "a");
    EXPECT_EQ(nt[25].key, "zz");
    EXPECT_EQ(nt.back().key, "xx");
    EXPECT_EQ(nt.back().chapters, 22);
    EXPECT_EQ(velumir::proverbsToMalachi().back().key, "qq");
    EXPECT_EQ(velumir::secondKingsToPsalms().back().chapters, 150);
}

TEST(Catalogues, CaptionsKeepTheirLegacyBytes)
{
    struct Case {
        Catalogue books;
        const char *key;
        std::string bytes;
    };
    const Case cases[] = {
        {velumir::newTestament(), "a", "m:afay"},
        {velumir::newTestament(), "e", "kic\xA9kar"},
        {velumir::newTestament(), "m", "EfsSaL\xDAnic TI1"},
        {velumir::newTestament(), "xx", "vivrN\xB3"},
        {velumir::genesisTo1Kings(), "a", "elakub,t\xFEi"},
        {velumir::genesisTo1Kings(), "c", "elvIvin\xBDy"},
        {velumir::proverbsToMalachi(), "v", "sas\xFE" "a"},
        {velumir::proverbsToMalachi(), "ll", "Nah\x91um"},
        {velumir::secondKingsToPsalms(), "l", "BgSavtarkSRt TI2"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(captionOf(c.books, c.key), c.bytes) << c.key;
}
