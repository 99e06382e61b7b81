// The Help menu of the main window: the letter and the About box.

#include "shell/frm_main.h"

namespace velumir {

void frmMain::mnuAbo_Click() {}
void frmMain::mnuHelp_Click() {}

} // namespace velumir
