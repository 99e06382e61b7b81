// The Help menu of the main window: the letter and the About box.

#include "shell/frm_main.h"

#include "shell/about_box.h"
#include "shell/letter_window.h"

namespace velumir {

// The About box is a window of its own, modeless and with no owner.
void frmMain::mnuAbo_Click()
{
    form<About>().Show();
}

// The letter opens where a new child window goes; the others stay as they are.
void frmMain::mnuHelp_Click()
{
    form<Form3>().Show();
}

} // namespace velumir
