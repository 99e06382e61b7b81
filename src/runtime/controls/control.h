#pragma once

// The base of every control: a Qt widget on a form, with the position and
// size in twips that the program assigned (read back exactly), visibility,
// enabled state, alignment, and events that run through the program's edge.

#include "runtime/forms/form.h"
#include "runtime/forms/program.h"
#include "runtime/forms/twips.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

namespace rt {

// A COLORREF 0x00BBGGRR; with the top bit set, a system colour by its index.
QColor colorOf(long colorRef);
long colorRefOf(const QColor &color);

// System colours used by the program's designs.
constexpr long vbInfoBackground = 0x80000018;
constexpr long vbWindowBackground = 0x80000005;
constexpr long vbInactiveBorder = 0x8000000B;
constexpr long vbButtonFace = 0x8000000F;

struct FontSpec {
    std::string name = "MS Sans Serif";
    float size = 8.25f;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
};
QFont fontOf(const FontSpec &wanted);

enum class Align { None, Top, Bottom };

// An event of a control. The window connects its handler once (in its design);
// raising it runs the handler at the program's edge, so a run-time error that
// leaves the handler is reported there and does not reach the raiser.
template <class... Args>
class Event {
public:
    explicit Event(Program &program) : program_(program) {}
    void connect(std::function<void(Args...)> handler) { handler_ = std::move(handler); }
    bool connected() const { return bool(handler_); }
    void raise(Args... args)
    {
        if (handler_) {
            auto handler = handler_;
            program_.run([&] { handler(args...); });
        }
    }

private:
    Program &program_;
    std::function<void(Args...)> handler_;
};

class Control {
public:
    Control(Form &form, QWidget *container, QWidget *widget);
    virtual ~Control();
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    Form &form() const { return form_; }
    Program &program() const;
    QWidget *widget() const { return widget_; }
    QWidget *container() const { return container_; }

    float Left() const { return left_; }
    float Top() const { return top_; }
    virtual float Width() const { return width_; }
    virtual float Height() const { return height_; }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    // Moves and sizes in one step; a negative size fails and changes nothing.
    void Move(float left, float top, float width, float height);

    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    void SetFocus();
    void ZOrder(int position = 0);

    Align align() const { return align_; }
    void setAlign(Align align);
    // Used by the form's layout of aligned controls.
    void placeAligned(float left, float top, float width);

protected:
    virtual void applyGeometry();
    void setGeometryTwips(float left, float top, float width, float height);

private:
    Form &form_;
    QWidget *container_;
    QPointer<QWidget> widget_;
    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    Align align_ = Align::None;
};

} // namespace rt
