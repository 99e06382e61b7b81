#include "reference/lookup_window.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/controls/data_combo.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/status_bar.h"
#include "runtime/errors/error_styles.h"

#include <cctype>

namespace velumir {

namespace {

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Skips a run of digits from `i`; returns how many there were.
std::size_t digits(const std::string &text, std::size_t &i)
{
    const std::size_t start = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i - start;
}

} // namespace

bool isNumberText(const std::string &text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    std::size_t mantissa = digits(text, i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits(text, i);
    }
    if (mantissa == 0)
        return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits(text, i) == 0)
            return false;
    }
    return i == text.size();
}

LookupWindow::LookupWindow(rt::Program &program, Design design)
    : rt::Form(program, rt::FormKind::MdiChild), cnLookup(program.drive()), design_(std::move(design))
{
}

void LookupWindow::design()
{
    setCaption(design_.caption);
    setClientSize(9585, 5385);
    setStartMaximized(true);

    // Back to front: the handle lies below both panes, so only the gap
    // between them shows it; the bar lies above everything while dragged.
    imgSplitter_ = add<rt::Image>();
    imgSplitter_->Move(3000, 600, 150, 5385);

    DC1_ = add<rt::DataCombo>();
    DC1_->Move(0, 600, 3015, 5295);
    DC1_->setFont({"Limon S1", 20.25f});

    RTB1_ = add<rt::RichTextBox>();
    RTB1_->Move(3120, 600, 6495, 5295);
    RTB1_->setFont({"Limon S1", 21.75f});
    RTB1_->setBackColor(rt::vbWindowBackground);
    RTB1_->setScrollBars(false, true);

    picTitles_ = add<rt::PictureBox>();
    picTitles_->setAlign(rt::Align::Top);
    picTitles_->Move(0, 0, 9585, 540);
    lblTitle_ = addIn<rt::Label>(picTitles_->widget());
    lblTitle_->Move(0, 0, 3015, 540);
    lblTitle_->setFont({"Limon R1", 20.25f});
    lblTitle_->setCaption(design_.title);

    picSplitter_ = add<rt::PictureBox>();
    picSplitter_->Move(9600, 600, 75, 5400);
    picSplitter_->setBackColor(0x00808080);
    picSplitter_->setVisible(false);

    sbStatusBar_ = add<rt::StatusBar>();
    sbStatusBar_->Move(0, 4995, 9585, 390);
    sbStatusBar_->addPanel(rt::StatusBar::Panel::Text, "Status");
    sbStatusBar_->addPanel(rt::StatusBar::Panel::Date, {}, 1440);
    sbStatusBar_->addPanel(rt::StatusBar::Panel::Time, {}, 1440);

    frame_.attach({nullptr, picTitles_, lblTitle_, DC1_, imgSplitter_, RTB1_, picSplitter_, sbStatusBar_});
    DC1_->Change.connect([this] { DC1_Change(); });
    setInitialFocus(DC1_);
}

rt::PictureBox &LookupWindow::picTitles() { Load(); return *picTitles_; }
rt::Label &LookupWindow::lblTitle() { Load(); return *lblTitle_; }
rt::DataCombo &LookupWindow::DC1() { Load(); return *DC1_; }
rt::Image &LookupWindow::imgSplitter() { Load(); return *imgSplitter_; }
rt::RichTextBox &LookupWindow::RTB1() { Load(); return *RTB1_; }
rt::PictureBox &LookupWindow::picSplitter() { Load(); return *picSplitter_; }
rt::StatusBar &LookupWindow::sbStatusBar() { Load(); return *sbStatusBar_; }

void LookupWindow::Form_Load()
{
    cnLookup.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + design_.databaseFile +
                      ";Persist Security Info=False",
                  "", "", -1);
    // The list reads ID and Names of every row and nothing else: an entry is
    // looked up afresh by its ID, so the list keeps no copy of the entries.
    rsLookup.setKeptFields({"ID", "Names"});
    rsLookup.Open("tblDictionary", cnLookup, 3, 3, rt::Recordset::CommandTable);
    DC1().setRowSource(rsLookup);
    DC1().setListField("Names");
    DC1().setBoundColumn("ID");
}

void LookupWindow::DC1_Change()
{
    rt::abandonOnError([&] {
        const std::string id = DC1().BoundText();
        // The ID goes into the query as it stands, so only a number may:
        // anything else ends the lookup as a failing query would.
        if (!isNumberText(id))
            return;
        rt::Recordset rsEntry;
        rsEntry.Open("SELECT Traslation FROM tblDictionary where ID=" + id, cnLookup, 1, 3,
                     rt::Recordset::CommandText);
        if (rsEntry.Eof())
            return;
        const rt::Variant entry = rsEntry.Fields(0).Value();
        RTB1().setText(entry.isNull() ? std::string() : entry.toString());
        rsEntry.Close();
    });
}

void LookupWindow::Form_Unload(int &)
{
    rsLookup.Close();
    cnLookup.Close();
}

void LookupWindow::abandonLoad()
{
    if (rsLookup.State() == 1)
        rsLookup.Close();
    if (cnLookup.State() == 1)
        cnLookup.Close();
}

void LookupWindow::Form_Resize()
{
    frame_.Form_Resize();
}

Concordance::Concordance(rt::Program &program)
    : LookupWindow(program, {"Concordance", "C:\\WINDOWS\\system32\\Concordance",
                             "xeyag nig Bn\xFCl;xKm<Ir"})
{
}

Dictionary::Dictionary(rt::Program &program)
    : LookupWindow(program, {"Bible Dictionary", "C:\\WINDOWS\\system32\\Bible Dictionary",
                             "Bn\xFCl;Bak\xFCk\xF1\xFAgRBHKm<Ir"})
{
}

KhmerDic::KhmerDic(rt::Program &program)
    : LookupWindow(program, {"Khmer Dictionary", "C:\\WINDOWS\\system32\\Khmer Dictionary", "vnanuRkmEx\xB5r"})
{
}

} // namespace velumir
