#include "runtime/forms/program.h"

#include "runtime/forms/form.h"
#include "runtime/forms/mdi_parent.h"
#include "runtime/system/clipboard.h"
#include "runtime/system/dialogs.h"
#include "runtime/system/printer.h"
#include "runtime/system/send_keys.h"
#include "runtime/system/settings.h"

#include <QCoreApplication>
#include <QWidget>

#include <exception>

namespace rt {

Program::Program() : Program(Options{}) {}

Program::Program(Options options)
    : drive_(options.driveRoot),
      report_(options.report ? std::move(options.report) : std::make_unique<MessageBoxReport>()),
      dialogs_(options.dialogs ? std::move(options.dialogs) : std::make_unique<QtDialogs>()),
      settings_(std::make_unique<Settings>(options.configRoot)),
      sendKeys_(std::make_unique<SendKeys>()),
      printer_(std::make_unique<PrinterService>()),
      clipboard_(std::make_unique<Clipboard>())
{
}

Program::~Program()
{
    // Windows go without their unload handlers, as at the end of the program.
    for (auto it = order_.rbegin(); it != order_.rend(); ++it)
        if ((*it)->kind() != FormKind::MdiParent)
            forms_.erase(std::type_index(typeid(**it)));
    forms_.clear();
}

MdiParent &Program::mdiParent()
{
    if (!mdiParentFactory_)
        raise(err::ObjectNotSet, "No main window to hold a child window.");
    return mdiParentFactory_();
}

void Program::report(RuntimeError &error)
{
    error.markReported();
    report_->show(title_, error);
}

void Program::run(const std::function<void()> &handler)
{
    if (ended_)
        return;
    try {
        handler();
    } catch (RuntimeError &e) {
        if (!e.reported())
            report(e);
    } catch (const std::exception &e) {
        RuntimeError internal(51, std::string("Internal error: ") + e.what());
        report(internal);
    }
}

void Program::End()
{
    if (ended_)
        return;
    ended_ = true;
    for (Form *form : order_)
        if (QWidget *outer = form->outer())
            outer->hide();
    if (QCoreApplication *app = QCoreApplication::instance())
        app->exit(0);
}

void Program::mainWindowUnloaded()
{
    // The start window is hidden and still loaded; nothing else would end the program.
    End();
}

void Program::windowUnloaded()
{
    for (Form *form : order_)
        if (form->Visible())
            return;
    End();
}

std::vector<Form *> Program::loadedForms() const
{
    std::vector<Form *> loaded;
    for (Form *form : order_)
        if (form->IsLoaded())
            loaded.push_back(form);
    return loaded;
}

} // namespace rt
