#pragma once

// frmLogOn: the start window. Its first button opens the main window and
// hides the start window; the second ends the program.

#include "runtime/forms/form.h"

namespace rt {
class CommandButton;
class Image;
class Label;
} // namespace rt

namespace velumir {

class frmLogOn : public rt::Form {
public:
    explicit frmLogOn(rt::Program &program);

    rt::CommandButton &cmOK();
    rt::CommandButton &Command1();
    rt::Label &Label1();
    rt::Label &Label2();
    rt::Image &Image1();

protected:
    void design() override;

private:
    void cmOK_Click();
    void Command1_Click();

    rt::CommandButton *Command1_ = nullptr;
    rt::CommandButton *cmOK_ = nullptr;
    rt::Label *Label2_ = nullptr;
    rt::Label *Label1_ = nullptr;
    rt::Image *Image1_ = nullptr;
};

} // namespace velumir
