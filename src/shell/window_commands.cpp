// The window commands of the main window: show a child window, loading it
// when it is not loaded, and tile the child windows; and the list of open
// child windows at the foot of the Window menu.

#include "shell/frm_main.h"

#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "reference/lookup_window.h"
#include "reference/pictures_window.h"
#include "runtime/text/legacy_text.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace velumir {

void frmMain::showAndArrange(rt::Form &window, int arrangement)
{
    window.Show();
    Arrange(arrangement);
}

void frmMain::mnuOT_Click()
{
    showAndArrange(form<OT>(), rt::vbTileHorizontal);
}

void frmMain::mnuNT_Click()
{
    showAndArrange(form<NT>(), rt::vbTileHorizontal);
}

void frmMain::mnuBD_Click()
{
    showAndArrange(form<Dictionary>(), rt::vbTileHorizontal);
}

void frmMain::mnuKH_Click()
{
    showAndArrange(form<KhmerDic>(), rt::vbTileHorizontal);
}

void frmMain::mnuCon_Click()
{
    showAndArrange(form<Concordance>(), rt::vbTileHorizontal);
}

void frmMain::mnuMaps_Click()
{
    showAndArrange(form<Pictures>(), rt::vbTileHorizontal);
}

// Its caption says horizontally; it lays the windows side by side.
void frmMain::mnuTH_Click()
{
    Arrange(rt::vbTileVertical);
}

void frmMain::Toolbar1_ButtonClick(int Index, const std::string &)
{
    switch (Index) {
    case 1: showAndArrange(form<OT>(), rt::vbTileVertical); break;
    case 2: showAndArrange(form<NT>(), rt::vbTileVertical); break;
    case 3: showAndArrange(form<Dictionary>(), rt::vbTileVertical); break;
    case 4: showAndArrange(form<Concordance>(), rt::vbTileVertical); break;
    case 5: showAndArrange(form<KhmerDic>(), rt::vbTileVertical); break;
    case 6: showAndArrange(form<Pictures>(), rt::vbTileVertical); break;
    case 7: Arrange(rt::vbTileVertical); break;
    default: break;
    }
}

void frmMain::listChildWindows(QMenu *menu)
{
    for (QAction *action : windowList_)
        menu->removeAction(action);
    qDeleteAll(windowList_);
    windowList_.clear();
    QMdiSubWindow *active = mdiArea()->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow *sub : mdiArea()->subWindowList()) {
        rt::Form *child = rt::formOf(sub);
        if (!child || !sub->isVisible())
            continue;
        auto *action = new QAction(QString("%1 %2").arg(number++).arg(rt::toQString(child->Caption())), menu);
        action->setCheckable(true);
        action->setChecked(sub == active);
        QObject::connect(action, &QAction::triggered, mdiArea(), [area = mdiArea(), sub] {
            if (sub->isMinimized())
                sub->showNormal();
            area->setActiveSubWindow(sub);
        });
        menu->addAction(action);
        windowList_.push_back(action);
    }
}

} // namespace velumir
