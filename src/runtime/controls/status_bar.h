#pragma once

// A status bar with panels: text panels, and date and time panels that keep
// showing the current date and time.

#include "runtime/controls/control.h"

#include <string>
#include <vector>

class QLabel;
class QTimer;

namespace rt {

class StatusBar : public Control {
public:
    enum class Panel { Text, Date, Time };

    StatusBar(Form &form, QWidget *container);
    ~StatusBar() override;

    // A text panel with `text`, or a date or time panel; a width of 0 takes
    // what the other panels leave.
    void addPanel(Panel kind, const std::string &text = {}, float widthTwips = 0);
    std::string panelText(int index) const; // from 1

private:
    void refresh();
    struct Entry {
        Panel kind;
        QLabel *label;
    };
    std::vector<Entry> panels_;
    QTimer *timer_;
};

} // namespace rt
