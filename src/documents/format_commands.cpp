// The format and print commands of the main window on the New Testament
// text, whichever child window is active.

#include "shell/frm_main.h"

#include "browser/new_testament_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/data/variant.h"
#include "runtime/errors/error_styles.h"
#include "runtime/system/printer.h"

namespace velumir {

void frmMain::mnuFmtBold_Click()
{
    const rt::Variant bold = form<NT>().Text1().SelBold();
    form<NT>().Text1().setSelBold(rt::Not(bold));
}

void frmMain::mnuFmtItalic_Click()
{
    const rt::Variant italic = form<NT>().Text1().SelItalic();
    form<NT>().Text1().setSelItalic(rt::Not(italic));
}

void frmMain::mnuFmtSizeSmall_Click()
{
    form<NT>().Text1().setSelFontSize(18);
}

void frmMain::mnuFmtSizeMedium_Click()
{
    form<NT>().Text1().setSelFontSize(22);
}

void frmMain::mnuFmtSizeLarge_Click()
{
    form<NT>().Text1().setSelFontSize(30);
}

void frmMain::mnuPrint_Click()
{
    form<NT>().CommonDialog1().setCancelError(true);
    rt::abandonOnError([&] {
        form<NT>().CommonDialog1().ShowPrinter();
        form<NT>().Text1().SelPrint(program().printer().printer());
    });
}

} // namespace velumir
