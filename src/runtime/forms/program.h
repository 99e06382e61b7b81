#pragma once

// The application object: it owns the one default instance of every window
// class, the services of the platform (drive, settings, dialogs, keystrokes,
// printer) and the edge at which every event handler runs. A test makes a
// fresh Program and so starts a fresh program.

#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/system/drive.h"

#include <QPointer>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

class QMainWindow;

namespace rt {

class Form;
class MdiParent;
class DialogHost;
class Settings;
class SendKeys;
class PrinterService;
class Clipboard;

class Program {
public:
    struct Options {
        std::filesystem::path driveRoot = Drive::defaultRoot();
        // Where the per-user settings file lives; empty: the user's XDG config folder.
        std::filesystem::path configRoot;
        std::unique_ptr<ErrorReport> report;   // default: the message box
        std::unique_ptr<DialogHost> dialogs;   // default: the real Qt dialogs
    };

    explicit Program(Options options);
    Program();
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // The default instance of a window class, created on first reference
    // (creating it does not load it; any reference to its controls does).
    template <class F>
    F &form()
    {
        auto &slot = forms_[std::type_index(typeid(F))];
        if (!slot) {
            slot = std::make_unique<F>(*this);
            order_.push_back(slot.get());
        }
        return static_cast<F &>(*slot);
    }

    // The main window that MDI children live in. The program registers its
    // class once; a child shown before it loads the main window first.
    template <class F>
    void setMdiParentClass()
    {
        mdiParentFactory_ = [this]() -> MdiParent & { return form<F>(); };
    }
    MdiParent &mdiParent();
    bool hasMdiParentClass() const { return bool(mdiParentFactory_); }

    // App.Title and App.Path.
    const std::string &Title() const { return title_; }
    std::string Path() const { return "C:\\Program Files\\Velumir"; }

    const Drive &drive() const { return drive_; }
    Settings &settings() { return *settings_; }
    DialogHost &dialogs() { return *dialogs_; }
    SendKeys &sendKeys() { return *sendKeys_; }
    PrinterService &printer() { return *printer_; }
    Clipboard &clipboard() { return *clipboard_; }
    ErrorReport &errorReport() { return *report_; }

    // The edge of an event handler: a run-time error that leaves the handler
    // is reported (once) and the handler is abandoned; the program goes on.
    void run(const std::function<void()> &handler);
    void report(RuntimeError &error);

    // Ends the program at once: no unload handler of any window runs.
    void End();
    bool ended() const { return ended_; }

    // Called when the main window has unloaded: the program ends with it.
    void mainWindowUnloaded();
    // Called when any other window has unloaded: with no window left on the
    // screen (the start window closed before the main window opened), the program ends.
    void windowUnloaded();

    // Every window that is loaded now, in the order their classes were first referenced.
    std::vector<Form *> loadedForms() const;

private:
    Drive drive_;
    std::string title_ = "Velumir";
    std::unique_ptr<ErrorReport> report_;
    std::unique_ptr<DialogHost> dialogs_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<SendKeys> sendKeys_;
    std::unique_ptr<PrinterService> printer_;
    std::unique_ptr<Clipboard> clipboard_;
    std::map<std::type_index, std::unique_ptr<Form>> forms_;
    std::vector<Form *> order_;
    std::function<MdiParent &()> mdiParentFactory_;
    bool ended_ = false;
};

} // namespace rt
