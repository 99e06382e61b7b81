#pragma once

// The standard controls: label, command button, picture box, image, text box, line.

#include "runtime/controls/control.h"

#include <QPixmap>

#include <string>

class QLabel;
class QPushButton;
class QLineEdit;

namespace rt {

// Alignment values of labels.
constexpr int vbLeftJustify = 0;
constexpr int vbRightJustify = 1;
constexpr int vbCenter = 2;

class Label : public Control {
public:
    Label(Form &form, QWidget *container);

    const std::string &Caption() const { return caption_; }
    void setCaption(const std::string &caption);
    void setFont(const FontSpec &font);
    void setForeColor(long colorRef);
    // Opaque labels fill their box with `colorRef`; transparent ones show what lies behind.
    void setOpaque(long colorRef);
    void setAlignment(int alignment);
    // A label that sizes itself to its text grows to the width of its longest
    // line and the height of all its lines.
    void setAutoSize(bool autoSize);
    void setWordWrap(bool wrap);

private:
    void fitToText();
    QLabel *label_;
    std::string caption_;
    bool autoSize_ = false;
};

class CommandButton : public Control {
public:
    CommandButton(Form &form, QWidget *container);

    void setCaption(const std::string &caption);
    std::string Caption() const;
    void setFont(const FontSpec &font);
    // Drawn as the button that Enter clicks.
    void setDefault(bool isDefault);
    // A click, Enter or Space while it has the focus, Enter on the default
    // button, or Esc on the cancel button.
    Event<> Click;

private:
    QPushButton *button_;
};

class PictureBox : public Control {
public:
    PictureBox(Form &form, QWidget *container);

    void setBackColor(long colorRef);
    void setBorder(bool border);
};

// An image control: shows a picture, stretched to its box when Stretch is
// set, and reports the mouse in twips relative to its own left and top edges.
class Image : public Control {
public:
    Image(Form &form, QWidget *container);

    void setPicture(const QPixmap &picture);
    const QPixmap &Picture() const { return picture_; }
    void setStretch(bool stretch);
    void setMousePointer(Qt::CursorShape shape);

    // Button (1 left, 2 right, 4 middle), Shift (1 Shift, 2 Ctrl, 4 Alt), X, Y.
    Event<int, int, float, float> MouseDown;
    Event<int, int, float, float> MouseMove;
    Event<int, int, float, float> MouseUp;

private:
    friend class ImageWidget;
    QPixmap picture_;
    bool stretch_ = false;
};

class TextBox : public Control {
public:
    TextBox(Form &form, QWidget *container);

    std::string Text() const;
    void setText(const std::string &text);
    void setFont(const FontSpec &font);
    // Raised whenever the text changes, by the user or by the program.
    Event<> Change;

private:
    QLineEdit *edit_;
};

class Line : public Control {
public:
    Line(Form &form, QWidget *container);
    // From (x1, y1) to (x2, y2) in twips, `width` pixels wide.
    void setLine(float x1, float y1, float x2, float y2, long colorRef, int width);
};

} // namespace rt
