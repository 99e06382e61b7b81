#include "shell/letter_window.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/controls/timer.h"

#include <array>

namespace velumir {

namespace {

// The letter, in the legacy Khmer font encoding. Indentation is made with
// leading spaces only, as the proportional Khmer font shows them.
const std::string kCrLf = "\r\n";
const std::string kStripTitle = "RBHKm<IrbrisuT\xA7 CMnan;TI3";
const std::string kTitleLine = " RBHKm<IrbrisuT\xA7 PasaEx\xB5r CMnan;TI3";
const std::string kRule(61, '-');
const std::string kHeadingLine = std::string(46, ' ') + "lixit";
const std::array<std::string, 10> kMessage = {
    "    CRmabsYrG\xF1kGanCaTIRsLaj;",
    "eyIgsUmGrKuNEdlG\xF1kbanebIkkm\xB5viFIenH",
    "edIm,IGanRBHbn\xDE\xDAlrbs;RBHCaPasaEx\xB5r",
    "sUmGanmYyCMBUkm\xFEgmYyCMBUk eday",
    "cit\xFEs\xE1" "b;s\xE1" "at; nigedaysg\xC7wm",
    "sUmRBHbn\xDE\xDAlnaMBn\xF8Wdl;dYgcit\xFErbs;G\xF1k",
    "nigRbTanesck\xFEIsuxsan\xFE" "dl;RKYsarG\xF1k",
    "ebIG\xF1kmansMNYr b\xA4mtiNamYy",
    "sUmsresrmkeyIgxJMtamGasyd\xE6" "anxageRkam",
    "eyIgxJMsUmGrKuNy:agRCaleRCA",
};
const std::string kClosing = std::string(23, ' ') + "-==-sUmRBHRbTanBr-==-";

// The scroll step, in twips per tick.
constexpr float kStep = 40;

} // namespace

Form3::Form3(rt::Program &program) : rt::Form(program, rt::FormKind::MdiChild) {}

std::string Form3::letterText()
{
    std::string text = kCrLf + kCrLf + kCrLf + kTitleLine + kCrLf + kRule + kCrLf + kCrLf + kHeadingLine + kCrLf +
                       kCrLf;
    for (const std::string &line : kMessage)
        text += line + kCrLf;
    text += kRule + kCrLf + kClosing;
    return text;
}

void Form3::design()
{
    setCaption("Letter");
    setBackColor(0x00808080);
    setFixedBorder(true);
    setClientSize(7380, 5370);
    setIcon(":/icon-letter.svg");

    Picture1_ = add<rt::PictureBox>();
    Picture1_->setAlign(rt::Align::Top);
    Picture1_->Move(0, 0, 7380, 615);
    Picture1_->setBackColor(0x00E0E0E0);
    Picture1_->setBorder(false);

    Label2_ = addIn<rt::Label>(Picture1_->widget());
    Label2_->Move(360, 120, 0, 0);
    Label2_->setFont({"Limon R1", 18});
    Label2_->setAutoSize(true);
    Label2_->setCaption(kStripTitle);

    Timer1_ = add<rt::Timer>();
    Timer1_->setInterval(200);

    Label1_ = add<rt::Label>();
    Label1_->Move(600, 1080, 0, 0);
    Label1_->setForeColor(0x00FFFFFF);
    Label1_->setFont({"Limon S1", 21.75f});
    Label1_->setAutoSize(true);
    Label1_->setCaption("Label1");

    // The strip is a window of its own above the window's surface: the letter
    // passes beneath it.
    Picture1_->ZOrder(0);

    Timer1_->TimerEvent.connect([this] { Timer1_Timer(); });
}

rt::PictureBox &Form3::Picture1() { Load(); return *Picture1_; }
rt::Label &Form3::Label2() { Load(); return *Label2_; }
rt::Timer &Form3::Timer1() { Load(); return *Timer1_; }
rt::Label &Form3::Label1() { Load(); return *Label1_; }

void Form3::Form_Load()
{
    Label1_->setCaption(letterText());
}

void Form3::Timer1_Timer()
{
    Label1_->setTop(Label1_->Top() - kStep);
    // Once the whole letter has passed the top edge nothing more can be seen:
    // the timer stops, so a letter left open keeps its position in range.
    if (Label1_->Top() + Label1_->Height() <= 0)
        Timer1_->setEnabled(false);
}

} // namespace velumir
