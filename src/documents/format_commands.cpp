// The format and print commands of the main window on the New Testament text.

#include "shell/frm_main.h"

namespace velumir {

void frmMain::mnuFmtBold_Click() {}
void frmMain::mnuFmtItalic_Click() {}
void frmMain::mnuFmtSizeSmall_Click() {}
void frmMain::mnuFmtSizeMedium_Click() {}
void frmMain::mnuFmtSizeLarge_Click() {}
void frmMain::mnuPrint_Click() {}

} // namespace velumir
