// The window commands of the main window: open a child window and tile.

#include "shell/frm_main.h"

#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"

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

void frmMain::mnuBD_Click() {}
void frmMain::mnuKH_Click() {}
void frmMain::mnuCon_Click() {}
void frmMain::mnuMaps_Click() {}
void frmMain::mnuTH_Click()
{
    Arrange(rt::vbTileVertical);
}

void frmMain::Toolbar1_ButtonClick(int, const std::string &) {}

} // namespace velumir
