#pragma once

// The book-and-chapter tree of a browser window: a root node, a node for each
// book of the catalogue as a child of the root, and under each book its
// chapter nodes, captioned from the catalogue recordset one row per chapter.

#include "browser/catalogues/book.h"
#include "runtime/controls/tree_view.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/error_styles.h"

#include <string>

namespace velumir {

inline constexpr const char *kRootKey = "root";
inline constexpr const char *kRootCaption = "RBHKm<Irbrisu" "T\xA7";
inline constexpr const char *kChapterTag = "child";

// How the statements of a building step run: as they stand (a failure leaves
// the handler) or each skipped when it fails.
struct RunUnguarded {
    template <class Statement>
    void operator()(Statement &&statement) { statement(); }
};

void addRootNode(rt::TreeView &tv, rt::Node *&nodAdded);

// Adds each book of `books` with its chapters, reading one row of `rsWords`
// per chapter and leaving it on the row after the last one used. The tag
// step marks only the chapter node that its own chapter step added.
template <class Run>
void addBooks(rt::TreeView &tv, rt::Recordset &rsWords, rt::Node *&nodAdded, Catalogue books, Run &&run)
{
    for (const Book &book : books) {
        const std::string key(book.key);
        run([&] { nodAdded = &tv.nodes().Add(kRootKey, rt::tvwChild, key, std::string(book.caption), 2, 3); });
        for (int n = 1; n <= book.chapters; ++n) {
            rt::Node *added = nullptr;
            run([&] {
                added = &tv.nodes().Add(key, rt::tvwChild, key + std::to_string(n), rsWords.Fields(0).Value(), 2, 3);
                nodAdded = added;
            });
            run([&] {
                if (added)
                    added->setTag(kChapterTag);
            });
            run([&] { rsWords.MoveNext(); });
        }
    }
}

} // namespace velumir
