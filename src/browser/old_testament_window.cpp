#include "browser/old_testament_window.h"

#include "browser/book_tree.h"
#include "browser/catalogues/genesis_to_1_kings.h"
#include "browser/catalogues/kings2_to_psalms.h"
#include "browser/catalogues/proverbs_to_malachi.h"
#include "runtime/controls/tree_view.h"
#include "runtime/errors/error_styles.h"

namespace velumir {

OT::OT(rt::Program &program)
    : BrowserWindow(program, {.caption = "Old Testement",
                              .clientWidth = 10080,
                              .clientHeight = 7785,
                              .title = "RBHKm<IrsBa\xD8" "acas;",
                              .textLeft = 3480,
                              .textWidth = 6495,
                              .barTop = 960,
                              .barHeight = 6360,
                              .statusTop = 7395,
                              .images = oldTestamentImages(),
                              .colorImage = 10,
                              .source = {"C:\\WINDOWS\\system32\\tormio.udl", "Bible"}})
{
}

void OT::design()
{
    BrowserWindow::design();
    tv().Expand.connect([this](rt::Node &node) { tv_Expand(node); });
}

void OT::Form_Load()
{
    activationBuilt_ = false;
    expansionBuilt_ = false;
    openLink();
    addRootNode(tv(), nodAdded);
    addBooks(tv(), rsWords, nodAdded, genesisTo1Kings(), RunUnguarded{});
}

void OT::Form_Activate()
{
    if (activationBuilt_)
        return;
    activationBuilt_ = true;
    rt::SkipOnError skip;
    addBooks(tv(), rsWords, nodAdded, proverbsToMalachi(), skip);
}

void OT::tv_Expand(rt::Node &)
{
    if (expansionBuilt_)
        return;
    expansionBuilt_ = true;
    rt::SkipOnError skip;
    addBooks(tv(), rsWords, nodAdded, secondKingsToPsalms(), skip);
}

} // namespace velumir
