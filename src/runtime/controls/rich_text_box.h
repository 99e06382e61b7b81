#pragma once

// A rich-text box over QTextEdit: its text is legacy bytes shown through the
// Windows-1252 table in the box's fonts; line breaks are CR LF to the program.

#include "runtime/controls/control.h"
#include "runtime/data/variant.h"

#include <string>

class QTextEdit;
class QTextCharFormat;

namespace rt {

class RichTextBox : public Control {
public:
    RichTextBox(Form &form, QWidget *container);

    // The whole content as plain text; assigning replaces it.
    std::string Text() const;
    void setText(const std::string &text);

    void setFont(const FontSpec &font);
    void setBackColor(long colorRef);
    void setScrollBars(bool horizontal, bool vertical);

    // The colour of the selected text, or of what is typed next at the insertion point.
    long SelColor() const;
    void setSelColor(long colorRef);

    QTextEdit *editor() const { return edit_; }

protected:
    // Applies a character format to the selection, or to the insertion point.
    void mergeSelectionFormat(const QTextCharFormat &format);

private:
    QTextEdit *edit_;
};

} // namespace rt
