#include "shell/frm_log_on.h"

#include "shell/frm_main.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/system/load_picture.h"
#include "runtime/forms/program.h"

#include <QPixmap>

namespace velumir {

frmLogOn::frmLogOn(rt::Program &program) : rt::Form(program, rt::FormKind::TopLevel) {}

void frmLogOn::design()
{
    setCaption("Velumir (V.3.0)");
    setBackColor(0x00C0E0FF);
    setFixedBorder(true);
    setCentred(true);
    setClientSize(5535, 2850);

    // Back to front.
    Image1_ = add<rt::Image>();
    Image1_->Move(0, 0, 5610, 2925);
    Image1_->setStretch(true);
    // Drawn at the size it is shown at.
    Image1_->setPicture(rt::renderedPicture(":/start.svg", QSize(rt::toPixels(5610), rt::toPixels(2925))));

    Label1_ = add<rt::Label>();
    Label1_->Move(330, 360, 1545, 570);
    Label1_->setFont({"Limon R1", 24});
    Label1_->setForeColor(0x00FFFFFF);
    Label1_->setAlignment(rt::vbCenter);
    Label1_->setAutoSize(true);
    Label1_->setCaption("RBHKm<IrbrisuT\xA7");

    Label2_ = add<rt::Label>();
    Label2_->Move(4155, 360, 825, 465);
    Label2_->setFont({"Limon S1", 20.25f});
    Label2_->setForeColor(0x0000FF00);
    Label2_->setAlignment(rt::vbCenter);
    Label2_->setAutoSize(true);
    Label2_->setCaption("CMnan; TI3");

    cmOK_ = add<rt::CommandButton>();
    cmOK_->Move(720, 2160, 1215, 495);
    cmOK_->setFont({"Limon S1", 20.25f});
    cmOK_->setCaption("RBHKm<Ir");

    Command1_ = add<rt::CommandButton>();
    Command1_->Move(3600, 2160, 1215, 495);
    Command1_->setFont({"Limon S1", 20.25f});
    Command1_->setCaption("cakecj");

    setDefaultButton(cmOK_);
    setInitialFocus(cmOK_);
    cmOK_->Click.connect([this] { cmOK_Click(); });
    Command1_->Click.connect([this] { Command1_Click(); });
}

rt::CommandButton &frmLogOn::cmOK() { Load(); return *cmOK_; }
rt::CommandButton &frmLogOn::Command1() { Load(); return *Command1_; }
rt::Label &frmLogOn::Label1() { Load(); return *Label1_; }
rt::Label &frmLogOn::Label2() { Load(); return *Label2_; }
rt::Image &frmLogOn::Image1() { Load(); return *Image1_; }

void frmLogOn::cmOK_Click()
{
    form<frmMain>().Show();
    form<frmLogOn>().Hide();
}

void frmLogOn::Command1_Click()
{
    program().End();
}

} // namespace velumir
