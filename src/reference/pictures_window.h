#pragma once

// The picture viewer: pages through the records of the picture database one
// at a time, showing each record's caption and the picture file it names.
// The database and its recordset are opened at every load and stay open.

#include "runtime/data/dao.h"
#include "runtime/data/recordset.h"
#include "runtime/forms/form.h"

#include <optional>

namespace rt {
class CommandButton;
class Image;
class TextBox;
} // namespace rt

namespace velumir {

class Pictures : public rt::Form {
public:
    explicit Pictures(rt::Program &program);

    // The controls; a reference loads the window when it is not loaded.
    rt::TextBox &txtNAME();
    rt::CommandButton &Command1();
    rt::CommandButton &CMDNEXT();
    rt::Image &Photo();
    rt::TextBox &txtID();
    rt::TextBox &txtPATH();

    // Shows the current record: its identifier, caption and picture path.
    void display();
    // Empties the three fields (and so the picture).
    void clsr();

    // Window-level state.
    std::optional<rt::Database> dbPictures;
    rt::Recordset rsPictures;

protected:
    void design() override;
    void Form_Load() override;

    void CMDNEXT_Click();
    void Command1_Click();
    void txtPATH_Change();

private:
    rt::TextBox *txtNAME_ = nullptr;
    rt::CommandButton *Command1_ = nullptr;
    rt::CommandButton *CMDNEXT_ = nullptr;
    rt::Image *Photo_ = nullptr;
    rt::TextBox *txtID_ = nullptr;
    rt::TextBox *txtPATH_ = nullptr;
};

} // namespace velumir
