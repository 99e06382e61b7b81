// The editing toolbar of the main window.

#include "shell/frm_main.h"

#include "runtime/controls/toolbar.h"

namespace velumir {

void frmMain::tbToolBar_ButtonClick(rt::ToolbarButton &) {}
void frmMain::CopySelectionToClipboard() {}

} // namespace velumir
