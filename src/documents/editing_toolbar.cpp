// The editing toolbar of the main window. One handler takes every click and
// runs the case of the button's key, skipping each statement that fails.
// The clipboard, style and alignment buttons reach the text control
// `rtfText` by name on the active child window, which only the document
// window has; with any other child active, or none, they change nothing.

#include "shell/frm_main.h"

#include "browser/new_testament_window.h"
#include "documents/document_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/toolbar.h"
#include "runtime/data/variant.h"
#include "runtime/errors/error_styles.h"
#include "runtime/system/clipboard.h"
#include "runtime/system/printer.h"

namespace velumir {

namespace {

// The text control of the active child window, looked up afresh each time.
rt::RichTextBox &activeText(frmMain &main)
{
    rt::Form *active = main.ActiveForm();
    if (!active)
        rt::raise(rt::err::ObjectNotSet);
    return active->member<rt::RichTextBox>("rtfText");
}

} // namespace

void frmMain::tbToolBar_ButtonClick(rt::ToolbarButton &Button)
{
    rt::SkipOnError skip;
    const std::string key = Button.Key();
    auto toggle = [&](rt::Variant (rt::RichTextBox::*read)() const,
                      void (rt::RichTextBox::*write)(const rt::Variant &)) {
        skip([&] {
            const rt::Variant now = (activeText(*this).*read)();
            (activeText(*this).*write)(rt::Not(now));
        });
        // Pressed only when the style now reads True: a mixed selection (Null) leaves it unpressed.
        skip([&] {
            const rt::Variant now = (activeText(*this).*read)();
            Button.setValue(!now.isNull() && now.toBool() ? 1 : 0);
        });
    };

    if (key == "New") {
        rt::abandonOnError([&] {
            form<frmDocument>().rtfText().setSelColor(form<frmDocument>().CommonDialog1().Color());
            Arrange(rt::vbTileHorizontal);
        });
    } else if (key == "Open") {
        skip([&] { mnuFileOpen_Click(); });
    } else if (key == "Save") {
        skip([&] { mnuFileSave_Click(); });
    } else if (key == "Print") {
        skip([&] { form<NT>().CommonDialog1().setCancelError(true); });
        rt::abandonOnError([&] {
            form<NT>().CommonDialog1().ShowPrinter();
            form<NT>().Text1().SelPrint(program().printer().printer());
        });
    } else if (key == "Copy") {
        skip([&] { CopySelectionToClipboard(); });
    } else if (key == "Paste") {
        skip([&] {
            const std::string text = program().clipboard().GetText();
            rt::RichTextBox &box = activeText(*this);
            // Text too large for the box is refused, and the user is told so.
            program().run([&] { box.setSelRTF(text); });
        });
    } else if (key == "Bold") {
        toggle(&rt::RichTextBox::SelBold, &rt::RichTextBox::setSelBold);
    } else if (key == "Italic") {
        toggle(&rt::RichTextBox::SelItalic, &rt::RichTextBox::setSelItalic);
    } else if (key == "Underline") {
        toggle(&rt::RichTextBox::SelUnderline, &rt::RichTextBox::setSelUnderline);
    } else if (key == "Align Left") {
        skip([&] { activeText(*this).setSelAlignment(rt::rtfLeft); });
    } else if (key == "Center") {
        skip([&] { activeText(*this).setSelAlignment(rt::rtfCenter); });
    } else if (key == "Align Right") {
        skip([&] { activeText(*this).setSelAlignment(rt::rtfRight); });
    } else if (key == "Color") {
        rt::abandonOnError([&] {
            form<frmDocument>().CommonDialog1().ShowColor();
            form<frmDocument>().rtfText().setSelColor(form<frmDocument>().CommonDialog1().Color());
        });
    } else if (key == "Font") {
        skip([&] { mnuFmtFont_Click(); });
    }
}

void frmMain::CopySelectionToClipboard()
{
    rt::SkipOnError skip;
    skip([&] { program().clipboard().SetText(activeText(*this).SelRTF()); });
}

} // namespace velumir
