#pragma once

// What the two browser windows share: a book-and-chapter tree beside a
// chapter-text pane on the two-pane frame, the browser toolbar, the status
// bar and the testament link. The windows differ in a few design values and
// in how their trees are built.

#include "browser/testament_link.h"
#include "browser/two_pane_frame.h"
#include "runtime/data/connection.h"
#include "runtime/data/recordset.h"
#include "runtime/forms/form.h"

#include <QString>

#include <string>
#include <vector>

namespace rt {
class CommonDialog;
class Image;
class ImageList;
class Label;
class Node;
class PictureBox;
class RichTextBox;
class StatusBar;
class Toolbar;
class ToolbarButton;
class TreeView;
} // namespace rt

namespace velumir {

class BrowserWindow : public rt::Form {
public:
    struct Design {
        std::string caption;
        float clientWidth;
        float clientHeight;
        std::string title;             // the title label's caption
        float textLeft, textWidth;     // the text pane's design place
        float barTop, barHeight;       // the splitter bar's
        float statusTop;
        std::vector<QString> images;   // the image list, from index 1
        int colorImage;                // the "Color" button's image
        TestamentSource source;
    };

    // The controls; a reference loads the window when it is not loaded.
    rt::Toolbar &tbToolBar();
    rt::PictureBox &picTitles();
    rt::Label &lblTitle();
    rt::TreeView &tv();
    rt::Image &imgSplitter();
    rt::RichTextBox &Text1();
    rt::PictureBox &picSplitter();
    rt::StatusBar &sbStatusBar();
    rt::CommonDialog &CommonDialog1();
    rt::ImageList &ImageList1();

    void SizeControls(float &X) { frame_.SizeControls(X); }

    // Window-level state, kept across loads.
    rt::Recordset rsWords;
    rt::Connection cnTestament;
    rt::Node *nodAdded = nullptr;
    TwoPaneFrame frame_{*this};
    bool movingSplitter() const { return frame_.movingSplitter; }

protected:
    BrowserWindow(rt::Program &program, Design design);

    void design() override;
    void Form_Unload(int &Cancel) override;
    void Form_Resize() override;
    void abandonLoad() override;

    void openLink();
    void tv_NodeClick(rt::Node &Node);
    void tbToolBar_ButtonClick(rt::ToolbarButton &Button);

    const Design design_;

private:
    rt::Toolbar *tbToolBar_ = nullptr;
    rt::PictureBox *picTitles_ = nullptr;
    rt::Label *lblTitle_ = nullptr;
    rt::TreeView *tv_ = nullptr;
    rt::Image *imgSplitter_ = nullptr;
    rt::RichTextBox *Text1_ = nullptr;
    rt::PictureBox *picSplitter_ = nullptr;
    rt::StatusBar *sbStatusBar_ = nullptr;
    rt::CommonDialog *CommonDialog1_ = nullptr;
    rt::ImageList *ImageList1_ = nullptr;
};

// The pictures of the browsers' image lists.
std::vector<QString> newTestamentImages();
std::vector<QString> oldTestamentImages();

} // namespace velumir
