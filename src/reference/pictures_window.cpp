#include "reference/pictures_window.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/errors/error_styles.h"
#include "runtime/system/load_picture.h"

#include <QPixmap>

namespace velumir {

Pictures::Pictures(rt::Program &program) : rt::Form(program, rt::FormKind::MdiChild) {}

void Pictures::design()
{
    setCaption("Picutes");
    setClientSize(9705, 5850);
    setStartMaximized(true);

    txtNAME_ = add<rt::TextBox>();
    txtNAME_->Move(120, 360, 6495, 645);
    txtNAME_->setFont({"Limon S1", 21.75f});
    txtNAME_->setEnabled(false);

    // The next button comes before the back button in the tab order.
    CMDNEXT_ = add<rt::CommandButton>();
    CMDNEXT_->Move(1440, 1080, 1095, 615);
    CMDNEXT_->setFont({"Limon F3", 20.25f});
    CMDNEXT_->setCaption("eTAmux");

    Command1_ = add<rt::CommandButton>();
    Command1_->Move(120, 1080, 1215, 615);
    Command1_->setFont({"Limon F3", 20.25f});
    Command1_->setCaption("eTAeRkay");

    Photo_ = add<rt::Image>();
    Photo_->Move(120, 1800, 5415, 6855);
    Photo_->setStretch(true);
    Photo_->setEnabled(false);

    txtID_ = add<rt::TextBox>();
    txtID_->Move(4200, 1200, 975, 375);
    txtID_->setEnabled(false);
    txtID_->setVisible(false);

    txtPATH_ = add<rt::TextBox>();
    txtPATH_->Move(6240, 1320, 3015, 285);
    txtPATH_->setVisible(false);

    CMDNEXT_->Click.connect([this] { CMDNEXT_Click(); });
    Command1_->Click.connect([this] { Command1_Click(); });
    txtPATH_->Change.connect([this] { txtPATH_Change(); });
    setInitialFocus(CMDNEXT_);
}

rt::TextBox &Pictures::txtNAME() { Load(); return *txtNAME_; }
rt::CommandButton &Pictures::Command1() { Load(); return *Command1_; }
rt::CommandButton &Pictures::CMDNEXT() { Load(); return *CMDNEXT_; }
rt::Image &Pictures::Photo() { Load(); return *Photo_; }
rt::TextBox &Pictures::txtID() { Load(); return *txtID_; }
rt::TextBox &Pictures::txtPATH() { Load(); return *txtPATH_; }

void Pictures::Form_Load()
{
    dbPictures = rt::Database::OpenDatabase(program().drive(), program().Path() + "\\Lib");
    rsPictures = dbPictures->OpenRecordset("EMP");
    if (rsPictures.Bof())
        clsr();
    else
        display();
}

void Pictures::display()
{
    txtID().setText(rsPictures.Fields(0).Value().toString());
    txtNAME().setText(rsPictures.Fields(1).Value().toString());
    txtPATH().setText(rsPictures.Fields(3).Value().toString());
}

void Pictures::clsr()
{
    txtID().setText("");
    txtNAME().setText("");
    txtPATH().setText("");
}

void Pictures::CMDNEXT_Click()
{
    rt::SkipOnError skip;
    skip([&] { rsPictures.MoveNext(); });
    skip([&] {
        if (rsPictures.Eof())
            clsr();
        else
            display();
    });
}

void Pictures::Command1_Click()
{
    rt::SkipOnError skip;
    skip([&] { rsPictures.MovePrevious(); });
    skip([&] {
        if (rsPictures.Bof())
            clsr();
        else
            display();
    });
}

void Pictures::txtPATH_Change()
{
    rt::recoverOnError(
        [&] {
            const std::string path = txtPATH().Text();
            if (path.empty())
                Photo().setPicture(QPixmap());
            else
                Photo().setPicture(rt::LoadPicture(
                    program(), path, QSize(rt::toPixels(Photo().Width()), rt::toPixels(Photo().Height()))));
        },
        [&](const rt::RuntimeError &) { Photo().setPicture(QPixmap()); });
}

} // namespace velumir
