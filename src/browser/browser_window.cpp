#include "browser/browser_window.h"

#include "browser/chapter_lookup.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/image_list.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/status_bar.h"
#include "runtime/controls/toolbar.h"
#include "runtime/controls/tree_view.h"
#include "runtime/errors/error_styles.h"
#include "runtime/forms/program.h"
#include "runtime/system/send_keys.h"

namespace velumir {

std::vector<QString> newTestamentImages()
{
    return {":/tree-book-closed.svg", ":/tree-book-closed.svg", ":/tree-book-open.svg", ":/tree-book-open.svg",
            ":/globe.svg",            ":/arrow-left.svg",       ":/arrow-right.svg",    ":/books-magnifier.svg",
            ":/letter-a-blue.svg",    ":/flag-cambodia.svg",    ":/color-a.svg"};
}

std::vector<QString> oldTestamentImages()
{
    std::vector<QString> images = newTestamentImages();
    images.erase(images.begin() + 8); // no blue letter A
    return images;
}

BrowserWindow::BrowserWindow(rt::Program &program, Design design)
    : rt::Form(program, rt::FormKind::MdiChild), cnTestament(program.drive()), design_(std::move(design))
{
}

void BrowserWindow::design()
{
    setCaption(design_.caption);
    setBackColor(0x00C0E0FF);
    setClientSize(design_.clientWidth, design_.clientHeight);
    setStartMaximized(true);

    ImageList1_ = add<rt::ImageList>();
    ImageList1_->setImageSize(16, 16);
    for (const QString &image : design_.images)
        ImageList1_->add(image);

    // Back to front: the handle lies below the text pane, so only the gap
    // between the panes shows it; the bar lies above everything while dragged.
    imgSplitter_ = add<rt::Image>();
    imgSplitter_->Move(3360, 960, 150, 6345);

    tv_ = add<rt::TreeView>();
    tv_->Move(0, 960, 3375, 6375);
    tv_->setImageList(ImageList1_);
    tv_->setFont({"Limon S1", 20.25f});

    Text1_ = add<rt::RichTextBox>();
    Text1_->Move(design_.textLeft, 960, design_.textWidth, 6375);
    Text1_->setFont({"Limon S1", 21.75f});
    Text1_->setBackColor(rt::vbInfoBackground);
    Text1_->setScrollBars(false, true);

    tbToolBar_ = add<rt::Toolbar>();
    tbToolBar_->setImageList(ImageList1_);
    tbToolBar_->Move(0, 0, design_.clientWidth, 420);
    tbToolBar_->addButton("Back", "Back", rt::ButtonStyle::Push, 6);
    tbToolBar_->addButton("Next", "Next", rt::ButtonStyle::Push, 7);
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Color", "Color Bible Text", rt::ButtonStyle::Push, design_.colorImage);

    picTitles_ = add<rt::PictureBox>();
    picTitles_->setAlign(rt::Align::Top);
    picTitles_->Move(0, 420, design_.clientWidth, 540);
    picTitles_->setBackColor(0x00C0E0FF);
    lblTitle_ = addIn<rt::Label>(picTitles_->widget());
    lblTitle_->Move(0, 0, 1935, 540);
    lblTitle_->setFont({"Limon R1", 20.25f});
    lblTitle_->setCaption(design_.title);

    picSplitter_ = add<rt::PictureBox>();
    picSplitter_->Move(9960, design_.barTop, 75, design_.barHeight);
    picSplitter_->setBackColor(0x00808080);
    picSplitter_->setVisible(false);

    sbStatusBar_ = add<rt::StatusBar>();
    sbStatusBar_->Move(0, design_.statusTop, design_.clientWidth, 390);
    sbStatusBar_->addPanel(rt::StatusBar::Panel::Text, "Status");
    sbStatusBar_->addPanel(rt::StatusBar::Panel::Date, {}, 1440);
    sbStatusBar_->addPanel(rt::StatusBar::Panel::Time, {}, 1440);

    CommonDialog1_ = add<rt::CommonDialog>();

    frame_.attach({tbToolBar_, picTitles_, lblTitle_, tv_, imgSplitter_, Text1_, picSplitter_, sbStatusBar_});
    tv_->NodeClick.connect([this](rt::Node &node) { tv_NodeClick(node); });
    tbToolBar_->ButtonClick.connect([this](rt::ToolbarButton &button) { tbToolBar_ButtonClick(button); });
    setInitialFocus(tv_);
}

rt::Toolbar &BrowserWindow::tbToolBar() { Load(); return *tbToolBar_; }
rt::PictureBox &BrowserWindow::picTitles() { Load(); return *picTitles_; }
rt::Label &BrowserWindow::lblTitle() { Load(); return *lblTitle_; }
rt::TreeView &BrowserWindow::tv() { Load(); return *tv_; }
rt::Image &BrowserWindow::imgSplitter() { Load(); return *imgSplitter_; }
rt::RichTextBox &BrowserWindow::Text1() { Load(); return *Text1_; }
rt::PictureBox &BrowserWindow::picSplitter() { Load(); return *picSplitter_; }
rt::StatusBar &BrowserWindow::sbStatusBar() { Load(); return *sbStatusBar_; }
rt::CommonDialog &BrowserWindow::CommonDialog1() { Load(); return *CommonDialog1_; }
rt::ImageList &BrowserWindow::ImageList1() { Load(); return *ImageList1_; }

void BrowserWindow::openLink()
{
    openTestamentLink(cnTestament, rsWords, design_.source);
}

void BrowserWindow::Form_Unload(int &)
{
    closeTestamentLink(cnTestament, rsWords);
}

void BrowserWindow::abandonLoad()
{
    releaseTestamentLink(cnTestament, rsWords);
}

void BrowserWindow::Form_Resize()
{
    frame_.Form_Resize();
}

void BrowserWindow::tv_NodeClick(rt::Node &)
{
    lookUpChapter(*tv_, cnTestament, *Text1_, design_.source.chapterTable);
}

void BrowserWindow::tbToolBar_ButtonClick(rt::ToolbarButton &Button)
{
    const std::string &key = Button.Key();
    if (key == "Next") {
        tv_->SetFocus();
        program().sendKeys().send("%{down}");
    } else if (key == "Back") {
        program().sendKeys().send("%{up}");
    } else if (key == "Color") {
        rt::abandonOnError([&] {
            CommonDialog1().ShowColor();
            Text1().setSelColor(CommonDialog1().Color());
        });
    }
}

} // namespace velumir
