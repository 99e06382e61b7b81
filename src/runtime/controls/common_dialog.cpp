#include "runtime/controls/common_dialog.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/system/printer.h"

namespace rt {

CommonDialog::CommonDialog(Form &form, QWidget *container) : Control(form, container, nullptr)
{
    font_.name = {};
    font_.size = 0;
}

void CommonDialog::cancelled()
{
    if (cancelError_)
        raise(err::CancelSelected);
}

void CommonDialog::ShowColor()
{
    if (auto chosen = program().dialogs().chooseColor(colorOf(color_)))
        color_ = colorRefOf(*chosen);
    else
        cancelled();
}

void CommonDialog::ShowOpen()
{
    if (auto chosen = program().dialogs().openFile(filter_, fileName_))
        fileName_ = *chosen;
    else
        cancelled();
}

void CommonDialog::ShowSave()
{
    if (auto chosen = program().dialogs().saveFile(filter_, fileName_))
        fileName_ = *chosen;
    else
        cancelled();
}

void CommonDialog::ShowFont()
{
    if (auto chosen = program().dialogs().chooseFont(font_))
        font_ = *chosen;
    else
        cancelled();
}

void CommonDialog::ShowPrinter()
{
    if (!program().dialogs().setUpPrinter(program().printer().printer()))
        cancelled();
}

} // namespace rt
