#pragma once

// The common dialog control: colour, open, save, font and printer dialogs,
// with the values they keep from one use to the next. While CancelError is
// True, Cancel raises error 32755; otherwise the dialog returns with its
// values unchanged.

#include "runtime/controls/control.h"
#include "runtime/system/dialogs.h"

#include <string>

namespace rt {

class CommonDialog : public Control {
public:
    CommonDialog(Form &form, QWidget *container);

    bool CancelError() const { return cancelError_; }
    void setCancelError(bool on) { cancelError_ = on; }
    long Color() const { return color_; }
    void setColor(long colorRef) { color_ = colorRef; }
    const std::string &Filter() const { return filter_; }
    void setFilter(const std::string &filter) { filter_ = filter; }
    const std::string &FileName() const { return fileName_; }
    void setFileName(const std::string &name) { fileName_ = name; }
    long Flags() const { return flags_; }
    void setFlags(long flags) { flags_ = flags; }

    const std::string &FontName() const { return font_.name; }
    float FontSize() const { return font_.size; }
    bool FontBold() const { return font_.bold; }
    bool FontItalic() const { return font_.italic; }
    bool FontUnderline() const { return font_.underline; }
    bool FontStrikethru() const { return font_.strikethru; }
    void setFont(const FontChoice &font) { font_ = font; }

    void ShowColor();
    void ShowOpen();
    void ShowSave();
    void ShowFont();
    void ShowPrinter();

private:
    void cancelled();
    bool cancelError_ = false;
    long color_ = 0;
    long flags_ = 0;
    std::string filter_;
    std::string fileName_;
    FontChoice font_;
};

} // namespace rt
