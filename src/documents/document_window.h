#pragma once

// frmDocument: the one rich-text notes window. It lays its text box out to its
// size; the main window's commands open, save, format and colour it.

#include "runtime/forms/form.h"

namespace rt {
class CommonDialog;
class RichTextBox;
} // namespace rt

namespace velumir {

class frmDocument : public rt::Form {
public:
    explicit frmDocument(rt::Program &program);

    rt::RichTextBox &rtfText();
    rt::CommonDialog &CommonDialog1();

protected:
    void design() override;
    void Form_Load() override;
    void Form_Resize() override;
    rt::Control *namedControl(const std::string &name) override;

private:
    rt::CommonDialog *CommonDialog1_ = nullptr;
    rt::RichTextBox *rtfText_ = nullptr;
};

} // namespace velumir
