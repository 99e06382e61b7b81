#pragma once

// The frame shared by the browser and lookup windows: a title strip across
// the top, a list pane on the left and a text pane on the right with a
// splitter handle between them, a status bar along the bottom, and in the
// browser windows a toolbar above the strip. The frame keeps the panes
// filling the window, keeps its outer width at 3000 twips or more where the
// window can be sized, and moves the border between the panes when the
// handle is dragged: a grey bar shows the place, the panes move on release.

namespace rt {
class Control;
class Form;
class Image;
class Label;
class PictureBox;
class StatusBar;
class Toolbar;
} // namespace rt

namespace velumir {

class TwoPaneFrame {
public:
    struct Controls {
        rt::Toolbar *tbToolBar = nullptr; // nothing in a window without a toolbar
        rt::PictureBox *picTitles = nullptr;
        rt::Label *lblTitle = nullptr;
        rt::Control *listPane = nullptr;
        rt::Image *imgSplitter = nullptr;
        rt::Control *textPane = nullptr;
        rt::PictureBox *picSplitter = nullptr;
        rt::StatusBar *sbStatusBar = nullptr;
    };

    explicit TwoPaneFrame(rt::Form &window) : window_(window) {}

    // Takes the controls of a newly loaded window, gives the handle its
    // west-east sizing pointer and connects its mouse events; the drag state
    // starts idle.
    void attach(const Controls &controls);

    // The window's resize event.
    void Form_Resize();
    void imgSplitter_MouseDown(int Button, int Shift, float X, float Y);
    void imgSplitter_MouseMove(int Button, int Shift, float X, float Y);
    void imgSplitter_MouseUp(int Button, int Shift, float X, float Y);

    // Lays the frame out around the splitter position X, which it clamps in place.
    void SizeControls(float &X);

    // Set while the handle is dragged.
    bool movingSplitter = false;

private:
    rt::Form &window_;
    Controls c_;
};

} // namespace velumir
