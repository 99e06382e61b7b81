#pragma once

// Form3: the letter window. A short letter from the makers to the reader,
// white Khmer text on grey, starts below a light title strip and scrolls
// slowly upwards, beneath the strip, until it has left the window.

#include "runtime/forms/form.h"

#include <string>

namespace rt {
class Label;
class PictureBox;
class Timer;
} // namespace rt

namespace velumir {

class Form3 : public rt::Form {
public:
    explicit Form3(rt::Program &program);

    rt::PictureBox &Picture1();
    rt::Label &Label2();
    rt::Timer &Timer1();
    rt::Label &Label1();

    // The letter as the window shows it: twenty lines joined by CR LF.
    static std::string letterText();

protected:
    void design() override;
    void Form_Load() override;

private:
    void Timer1_Timer();

    rt::PictureBox *Picture1_ = nullptr;
    rt::Label *Label2_ = nullptr;
    rt::Timer *Timer1_ = nullptr;
    rt::Label *Label1_ = nullptr;
};

} // namespace velumir
