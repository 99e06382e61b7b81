#include "browser/two_pane_frame.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/controls/status_bar.h"
#include "runtime/controls/toolbar.h"
#include "runtime/errors/error_styles.h"
#include "runtime/forms/form.h"

#include <cmath>

namespace velumir {

void TwoPaneFrame::attach(const Controls &controls)
{
    c_ = controls;
    movingSplitter = false;
    // The platform's west-east sizing pointer.
    c_.imgSplitter->setMousePointer(Qt::SizeHorCursor);
    c_.imgSplitter->MouseDown.connect([this](int b, int s, float x, float y) { imgSplitter_MouseDown(b, s, x, y); });
    c_.imgSplitter->MouseMove.connect([this](int b, int s, float x, float y) { imgSplitter_MouseMove(b, s, x, y); });
    c_.imgSplitter->MouseUp.connect([this](int b, int s, float x, float y) { imgSplitter_MouseUp(b, s, x, y); });
}

void TwoPaneFrame::Form_Resize()
{
    rt::SkipOnError skip;
    skip([&] {
        if (window_.Width() < 3000)
            window_.setWidth(3000);
    });
    skip([&] {
        float position = c_.imgSplitter->Left();
        SizeControls(position);
    });
}

void TwoPaneFrame::SizeControls(float &X)
{
    rt::SkipOnError skip;
    auto &list = *c_.listPane;
    auto &text = *c_.textPane;
    skip([&] {
        if (X < 1500)
            X = 1500;
    });
    skip([&] {
        const float limit = window_.Width() - 1500.0f;
        if (X > limit)
            X = limit;
    });
    skip([&] { list.setWidth(X); });
    skip([&] { c_.imgSplitter->setLeft(X); });
    skip([&] { text.setLeft(X + 40.0f); });
    skip([&] { text.setWidth(window_.Width() - (list.Width() + 140.0f)); });
    skip([&] { c_.lblTitle->setWidth(list.Width()); });
    skip([&] {
        if (c_.tbToolBar && c_.tbToolBar->Visible())
            list.setTop(c_.picTitles->Height() + c_.tbToolBar->Height());
        else
            list.setTop(c_.picTitles->Height());
    });
    skip([&] { text.setTop(list.Top()); });
    skip([&] {
        const float strip = c_.picTitles->Top() + c_.picTitles->Height();
        if (c_.sbStatusBar->Visible())
            list.setHeight(window_.ScaleHeight() - (strip + c_.sbStatusBar->Height()));
        else
            list.setHeight(window_.ScaleHeight() - strip);
    });
    skip([&] { text.setHeight(list.Height()); });
    skip([&] { c_.imgSplitter->setTop(list.Top()); });
    skip([&] { c_.imgSplitter->setHeight(list.Height()); });
}

void TwoPaneFrame::imgSplitter_MouseDown(int, int, float, float)
{
    auto &handle = *c_.imgSplitter;
    const float width = float(std::int64_t(std::nearbyint(handle.Width())) / 2);
    // A handle shorter than the bar's 20-twip allowance gives a bar of no height.
    const float height = handle.Height() > 20 ? handle.Height() - 20 : 0;
    c_.picSplitter->Move(handle.Left(), handle.Top(), width, height);
    c_.picSplitter->ZOrder(0);
    c_.picSplitter->setVisible(true);
    movingSplitter = true;
}

void TwoPaneFrame::imgSplitter_MouseMove(int, int, float X, float)
{
    if (!movingSplitter)
        return;
    const float position = c_.imgSplitter->Left() + X;
    if (position < 0)
        c_.picSplitter->setLeft(0);
    else if (position > window_.Width())
        c_.picSplitter->setLeft(window_.Width());
    else
        c_.picSplitter->setLeft(position);
}

void TwoPaneFrame::imgSplitter_MouseUp(int, int, float, float)
{
    float position = c_.picSplitter->Left();
    SizeControls(position);
    c_.picSplitter->setVisible(false);
    movingSplitter = false;
}

} // namespace velumir
