#include "shell/about_box.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/system/load_picture.h"
#include "runtime/errors/runtime_error.h"

#include <QPixmap>
#include <QWidget>

namespace velumir {

namespace {

const char *const kDescription =
    "Khmer Scripture Reading Fellowship\r\n"
    "P.O. Box 1207, Phnom Penh, Cambodia\r\n"
    "Comments and corrections: letters@example.org";
constexpr int kSubscriptOutOfRange = 9;
const char *const kDisclaimer = "Warning: this program is protected by law.";

} // namespace

About::About(rt::Program &program) : rt::Form(program, rt::FormKind::TopLevel) {}

void About::design()
{
    setCaption("About");
    setFixedBorder(true);
    setCentred(true);
    setClientSize(5715, 3000);
    // The default font of the box, for the controls that set none of their own.
    client()->setFont(rt::fontOf(rt::FontSpec{}));

    // Back to front.
    Image1_ = add<rt::Image>();
    Image1_->Move(0, -360, 5730, 3525);
    Image1_->setStretch(true);
    // Drawn at the size it is shown at.
    Image1_->setPicture(rt::renderedPicture(":/start.svg", QSize(rt::toPixels(5730), rt::toPixels(3525))));

    Label1_ = add<rt::Label>();
    Label1_->Move(435, 240, 0, 0);
    Label1_->setFont({"Limon R1", 20.25f});
    Label1_->setForeColor(rt::vbInactiveBorder);
    Label1_->setAlignment(rt::vbCenter);
    Label1_->setAutoSize(true);
    Label1_->setCaption("RBHKm<IrbrisuT\xA7");

    lblDescription_ = add<rt::Label>();
    lblDescription_->Move(960, 1200, 4095, 915);
    lblDescription_->setForeColor(0x00000000);
    lblDescription_->setAlignment(rt::vbCenter);
    lblDescription_->setWordWrap(true);
    lblDescription_->setCaption(kDescription);

    Line1_[1] = add<rt::Line>();
    Line1_[1]->setLine(0, 2310, 5432, 2310, 0x00808080, 1);
    Line1_[0] = add<rt::Line>();
    Line1_[0]->setLine(15, 2325, 5432, 2325, 0x00FFFFFF, 2);

    lblVersion_ = add<rt::Label>();
    lblVersion_->Move(4185, 540, 0, 0);
    lblVersion_->setForeColor(rt::vbInactiveBorder);
    lblVersion_->setAlignment(rt::vbCenter);
    lblVersion_->setAutoSize(true);
    lblVersion_->setCaption("Version 3.0.0");

    lblDisclaimer_ = add<rt::Label>();
    lblDisclaimer_->Move(120, 2760, 3870, 345);
    rt::FontSpec italic;
    italic.italic = true;
    lblDisclaimer_->setFont(italic);
    lblDisclaimer_->setForeColor(0x00000000);
    lblDisclaimer_->setOpaque(rt::vbButtonFace);
    lblDisclaimer_->setAlignment(rt::vbCenter);
    lblDisclaimer_->setCaption(kDisclaimer);

    cmdOK_ = add<rt::CommandButton>();
    cmdOK_->Move(4020, 2505, 1467, 345);
    cmdOK_->setCaption("OK");

    setDefaultButton(cmdOK_);
    setCancelButton(cmdOK_);
    setInitialFocus(cmdOK_);
    cmdOK_->Click.connect([this] { cmdOK_Click(); });
}

rt::CommandButton &About::cmdOK() { Load(); return *cmdOK_; }
rt::Label &About::lblDisclaimer() { Load(); return *lblDisclaimer_; }
rt::Label &About::lblVersion() { Load(); return *lblVersion_; }
rt::Label &About::lblDescription() { Load(); return *lblDescription_; }
rt::Label &About::Label1() { Load(); return *Label1_; }
rt::Image &About::Image1() { Load(); return *Image1_; }

rt::Line &About::Line1(int index)
{
    Load();
    if (index < 0 || index >= int(Line1_.size()))
        rt::raise(kSubscriptOutOfRange, "Subscript out of range");
    return *Line1_[std::size_t(index)];
}

void About::cmdOK_Click()
{
    Unload();
}

} // namespace velumir
