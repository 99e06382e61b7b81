#include "documents/document_window.h"

#include "runtime/controls/common_dialog.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/errors/error_styles.h"

namespace velumir {

frmDocument::frmDocument(rt::Program &program) : rt::Form(program, rt::FormKind::MdiChild) {}

void frmDocument::design()
{
    setCaption("frmDocument");
    setClientSize(4680, 3090);
    setIcon(":/icon-document.svg");

    CommonDialog1_ = add<rt::CommonDialog>();
    rtfText_ = add<rt::RichTextBox>();
    rtfText_->Move(100, 100, 3000, 2000);
    rtfText_->setScrollBars(true, true);
    rtfText_->setBackColor(rt::vbWindowBackground);
    rtfText_->setFont({});
    setInitialFocus(rtfText_);
}

rt::RichTextBox &frmDocument::rtfText() { Load(); return *rtfText_; }
rt::CommonDialog &frmDocument::CommonDialog1() { Load(); return *CommonDialog1_; }

rt::Control *frmDocument::namedControl(const std::string &name)
{
    return name == "rtfText" ? rtfText_ : nullptr;
}

void frmDocument::Form_Load()
{
    Form_Resize();
}

void frmDocument::Form_Resize()
{
    rt::SkipOnError skip;
    skip([&] { rtfText_->Move(100, 100, ScaleWidth() - 200, ScaleHeight() - 200); });
    skip([&] { rtfText_->setRightMargin(rtfText_->Width() - 400); });
}

} // namespace velumir
