#include "browser/new_testament_window.h"

#include "browser/book_tree.h"
#include "browser/catalogues/new_testament.h"

namespace velumir {

NT::NT(rt::Program &program)
    : BrowserWindow(program, {.caption = "New Testment",
                              .clientWidth = 11430,
                              .clientHeight = 9255,
                              .title = "RBHKm<IrsBa\xD8" "af\xB5I",
                              .textLeft = 3360,
                              .textWidth = 6615,
                              .barTop = 840,
                              .barHeight = 6480,
                              .statusTop = 8865,
                              .images = newTestamentImages(),
                              .colorImage = 11,
                              .source = {"C:\\WINDOWS\\system32\\tormin.udl", "mattew"}})
{
}

void NT::Form_Load()
{
    openLink();
    addRootNode(tv(), nodAdded);
    addBooks(tv(), rsWords, nodAdded, newTestament(), RunUnguarded{});
}

} // namespace velumir
