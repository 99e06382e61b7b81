#pragma once

// About: the About box, a top-level window of its own. It shows the
// scripture's Khmer title, the version, the makers' contact text and a legal
// warning over the start picture; OK (or Enter, or Esc) closes it.

#include "runtime/forms/form.h"

#include <array>

namespace rt {
class CommandButton;
class Image;
class Label;
class Line;
} // namespace rt

namespace velumir {

class About : public rt::Form {
public:
    explicit About(rt::Program &program);

    rt::CommandButton &cmdOK();
    rt::Label &lblDisclaimer();
    rt::Label &lblVersion();
    // The etched rule: element 0 the white line, element 1 the grey one.
    rt::Line &Line1(int index);
    rt::Label &lblDescription();
    rt::Label &Label1();
    rt::Image &Image1();

protected:
    void design() override;

private:
    void cmdOK_Click();

    rt::CommandButton *cmdOK_ = nullptr;
    rt::Label *lblDisclaimer_ = nullptr;
    rt::Label *lblVersion_ = nullptr;
    std::array<rt::Line *, 2> Line1_{};
    rt::Label *lblDescription_ = nullptr;
    rt::Label *Label1_ = nullptr;
    rt::Image *Image1_ = nullptr;
};

} // namespace velumir
