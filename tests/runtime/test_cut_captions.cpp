// Captions of legacy text that do not fit are cut at the pane's edge: the
// legacy fonts have no ellipsis, and the "..." Qt writes for one draws as
// Khmer full stops. A pane too narrow for a caption shows it as a wide pane
// does, up to its edge; a tree scrolls sideways to the rest.

#include "support/program_fixture.h"

#include "browser/new_testament_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/data_combo_list.h"
#include "runtime/controls/tree_view.h"
#include "runtime/text/legacy_text.h"
#include "shell/frm_log_on.h"
#include "shell/frm_main.h"
#include "app.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QTreeWidget>

using namespace velumir;
using testing_support::ProgramTest;

namespace {

const std::string kLongCaption = "RBHKm<IrbrisuT\xA7 b\xA4 TMBr&elakg_i";

class CutCaptions : public ProgramTest {};

// What `surface` draws in its rows from `top`, `height` high, from its left
// to `width`.
QImage drawn(QWidget *surface, int top, int height, int width)
{
    return surface->grab(QRect(0, top, width, height)).toImage().convertToFormat(QImage::Format_RGB32);
}

// `pane` made `narrow` and then `wide` pixels wide: what `surface` (the pane
// or its viewport) shows in the rows from `top` is the same up to the
// narrow surface's right edge.
void expectCutAtTheEdge(QWidget *pane, QWidget *surface, int top, int height, int narrow, int wide)
{
    pane->resize(narrow, pane->height());
    ProgramTest::processEvents();
    const int edge = surface->width();
    const QImage cut = drawn(surface, top, height, edge);
    pane->resize(wide, pane->height());
    ProgramTest::processEvents();
    const QImage whole = drawn(surface, top, height, edge);
    EXPECT_TRUE(cut == whole) << "cut at " << edge << " of " << surface->width();
}

} // namespace

TEST_F(CutCaptions, ATreeCutsACaptionAtItsEdgeAndScrollsSidewaysToTheRest)
{
    makeNewTestament();
    startToMainWindow();
    rt::TreeView &tv = form<NT>().tv();
    rt::Node &root = tv.nodes().Item("root");
    root.setText(kLongCaption);
    auto *tree = static_cast<QTreeWidget *>(tv.widget());
    tree->setCurrentItem(nullptr);
    const QRect row = tree->visualItemRect(tree->topLevelItem(0));
    const int textWidth = QFontMetrics(tree->font()).horizontalAdvance(rt::toQString(kLongCaption));

    expectCutAtTheEdge(tree, tree->viewport(), row.top(), row.height(), textWidth * 3 / 4, textWidth * 2);

    tree->resize(textWidth * 3 / 4, tree->height());
    processEvents();
    QScrollBar *sideways = tree->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum());
    processEvents();
    const QRect scrolled = tree->visualItemRect(tree->topLevelItem(0));
    EXPECT_LE(scrolled.left() + textWidth, tree->viewport()->width());
}

TEST_F(CutCaptions, TheHeadwordListCutsALineAtItsEdge)
{
    velumir::loadFonts(program());
    rt::DataComboList list([](long) { return rt::toQString(kLongCaption); }, nullptr);
    list.setFont(QFont("Limon S1", 12));
    list.setRowCount(3);
    list.resize(200, 100);
    list.show();
    processEvents();
    const int textWidth = list.fontMetrics().horizontalAdvance(rt::toQString(kLongCaption));
    expectCutAtTheEdge(&list, list.viewport(), 0, list.lineHeight(), textWidth * 3 / 4, textWidth * 2);
}

TEST_F(CutCaptions, ALabelCutsItsCaptionAtItsEdge)
{
    velumir::start(program());
    processEvents();
    rt::Label &label = form<frmLogOn>().Label1();
    label.setAlignment(rt::vbLeftJustify);
    auto *widget = static_cast<QLabel *>(label.widget());
    const int full = widget->width();
    expectCutAtTheEdge(widget, widget, 0, widget->height(), full * 3 / 4, full);
}
