#pragma once

// The multiple-document main window: a QMainWindow whose client area holds
// the controls aligned to its top and, below them, the area of the child windows.

#include "runtime/forms/form.h"

#include <vector>

class QMdiArea;

namespace rt {

// Arrange values.
constexpr int vbTileHorizontal = 1;
constexpr int vbTileVertical = 2;

class MdiParent : public Form {
public:
    explicit MdiParent(Program &program);

    QMdiArea *mdiArea() const { return mdiArea_; }

    // The active child window, or nothing.
    Form *ActiveForm() const;

    // 1: the child windows that are not minimized one above another, each as
    // wide as the client area; 2: side by side, each as high as it. A maximized
    // child is restored first; minimized ones stay minimized.
    void Arrange(int arrangement);

    // The loaded child windows, front to back.
    std::vector<Form *> children() const;

    void unloadChildren();

    // While the child windows are rearranged the platform hides and shows
    // them and moves the focus about; those moves are not the user's, and no
    // child window remembers them as its focus.
    class FocusPause {
    public:
        explicit FocusPause(MdiParent &parent) : parent_(parent) { ++parent_.focusPause_; }
        ~FocusPause() { --parent_.focusPause_; }
        FocusPause(const FocusPause &) = delete;
        FocusPause &operator=(const FocusPause &) = delete;

    private:
        MdiParent &parent_;
    };
    bool focusPaused() const { return focusPause_ > 0; }

protected:
    void windowCreated() override;
    void layoutAligned() override;

private:
    QMdiArea *mdiArea_ = nullptr;
    int focusPause_ = 0;
};

Form *formOf(const QWidget *subWindow);

} // namespace rt
