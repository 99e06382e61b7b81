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

protected:
    void windowCreated() override;
    void layoutAligned() override;

private:
    QMdiArea *mdiArea_ = nullptr;
};

Form *formOf(const QWidget *subWindow);

} // namespace rt
