// The document commands of the main window: File New, Open and Save and
// Format Font and Color, on the document window.

#include "shell/frm_main.h"

namespace velumir {

void frmMain::mnuFileNew_Click() {}
void frmMain::mnuFileOpen_Click() {}
void frmMain::mnuFileSave_Click() {}
void frmMain::mnuFmtFont_Click() {}
void frmMain::mnuFmtColor_Click() {}

} // namespace velumir
