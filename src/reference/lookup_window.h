#pragma once

// The lookup window: a headword list beside an entry-text pane on the
// two-pane frame, over one reference work's database. The concordance, the
// Bible dictionary and the Khmer dictionary are three window classes of this
// one design that differ only in their caption, database file and title.
//
// The list is the whole table as it stood when the window loaded; choosing a
// headword looks its entry up in the database by the headword's ID.

#include "browser/two_pane_frame.h"
#include "runtime/data/connection.h"
#include "runtime/data/recordset.h"
#include "runtime/forms/form.h"

#include <string>

namespace rt {
class DataCombo;
class Image;
class Label;
class PictureBox;
class RichTextBox;
class StatusBar;
} // namespace rt

namespace velumir {

class LookupWindow : public rt::Form {
public:
    struct Design {
        std::string caption;
        std::string databaseFile; // a Windows path
        std::string title;        // the title label's caption, legacy bytes
    };

    // The controls; a reference loads the window when it is not loaded.
    rt::PictureBox &picTitles();
    rt::Label &lblTitle();
    rt::DataCombo &DC1();
    rt::Image &imgSplitter();
    rt::RichTextBox &RTB1();
    rt::PictureBox &picSplitter();
    rt::StatusBar &sbStatusBar();

    void SizeControls(float &X) { frame_.SizeControls(X); }
    bool movingSplitter() const { return frame_.movingSplitter; }

    // Window-level state, kept across loads.
    rt::Connection cnLookup;
    rt::Recordset rsLookup;
    TwoPaneFrame frame_{*this};

protected:
    LookupWindow(rt::Program &program, Design design);

    void design() override;
    void Form_Load() override;
    void Form_Unload(int &Cancel) override;
    void Form_Resize() override;
    void abandonLoad() override;

    void DC1_Change();

private:
    const Design design_;

    rt::PictureBox *picTitles_ = nullptr;
    rt::Label *lblTitle_ = nullptr;
    rt::DataCombo *DC1_ = nullptr;
    rt::Image *imgSplitter_ = nullptr;
    rt::RichTextBox *RTB1_ = nullptr;
    rt::PictureBox *picSplitter_ = nullptr;
    rt::StatusBar *sbStatusBar_ = nullptr;
};

class Concordance : public LookupWindow {
public:
    explicit Concordance(rt::Program &program);
};

class Dictionary : public LookupWindow {
public:
    explicit Dictionary(rt::Program &program);
};

class KhmerDic : public LookupWindow {
public:
    explicit KhmerDic(rt::Program &program);
};

// Whether `text` is a plain number (an optional minus sign, digits, an
// optional fraction and exponent) and so safe to stand in a query as it is.
bool isNumberText(const std::string &text);

} // namespace velumir
