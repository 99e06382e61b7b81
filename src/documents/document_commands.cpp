// The document commands of the main window: File New, Open and Save and
// Format Font and Color, on the document window. The main window's common
// dialog keeps what each command leaves in it for the next.

#include "shell/frm_main.h"

#include "documents/document_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/errors/error_styles.h"
#include "runtime/forms/program.h"

namespace velumir {

void frmMain::mnuFileNew_Click()
{
    rt::abandonOnError([&] {
        const long color = form<frmDocument>().CommonDialog1().Color();
        form<frmDocument>().rtfText().setSelColor(color);
    });
    Arrange(rt::vbTileHorizontal);
}

// Open and Save: Cancel in the dialog ends the command silently; a file that
// cannot be read or written is reported (also when the editing toolbar runs
// the command), so that no one takes unsaved notes for saved.
void frmMain::mnuFileOpen_Click()
{
    dlgCommonDialog().setCancelError(true);
    if (!rt::abandonOnError([&] { dlgCommonDialog().ShowOpen(); }))
        return;
    program().run([&] { form<frmDocument>().rtfText().LoadFile(dlgCommonDialog().FileName(), rt::rtfRTF); });
}

void frmMain::mnuFileSave_Click()
{
    dlgCommonDialog().setCancelError(true);
    if (!rt::abandonOnError([&] { dlgCommonDialog().ShowSave(); }))
        return;
    program().run([&] { form<frmDocument>().rtfText().SaveFile(dlgCommonDialog().FileName(), rt::rtfRTF); });
}

void frmMain::mnuFmtFont_Click()
{
    rt::abandonOnError([&] {
        rt::CommonDialog &dialog = dlgCommonDialog();
        dialog.setCancelError(true);
        dialog.setFilter("All Files (*.*)|*.*");
        dialog.ShowFont();
        auto text = [this]() -> rt::RichTextBox & { return form<frmDocument>().rtfText(); };
        text().setSelBold(dlgCommonDialog().FontBold());
        text().setSelItalic(dlgCommonDialog().FontItalic());
        text().setSelFontName(dlgCommonDialog().FontName());
        text().setSelFontSize(dlgCommonDialog().FontSize());
        text().setSelStrikeThru(dlgCommonDialog().FontStrikethru());
        text().setSelUnderline(dlgCommonDialog().FontUnderline());
    });
}

void frmMain::mnuFmtColor_Click()
{
    rt::abandonOnError([&] {
        form<frmDocument>().CommonDialog1().ShowColor();
        form<frmDocument>().rtfText().setSelColor(form<frmDocument>().CommonDialog1().Color());
    });
}

} // namespace velumir
