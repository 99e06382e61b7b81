#pragma once

// What the common dialogs ask of the user. The program's common dialog
// control asks through a DialogHost: the real Qt dialogs for users, scripted
// answers in tests. Every answer that is empty stands for Cancel.

#include <QColor>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>

class QPrinter;

namespace rt {

struct FontChoice {
    std::string name;   // the family as the host names it, in UTF-8
    float size = 8.25f;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
};

class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
    // `filter` is the platform's "Text|pattern|Text|pattern"; the answer a full
    // path. Paths are the host's bytes (UTF-8 names here), not legacy text.
    virtual std::optional<std::string> openFile(const std::string &filter, const std::string &fileName) = 0;
    virtual std::optional<std::string> saveFile(const std::string &filter, const std::string &fileName) = 0;
    virtual std::optional<FontChoice> chooseFont(const FontChoice &initial) = 0;
    // Shows the printer dialog on the program's printer; false for Cancel.
    virtual bool setUpPrinter(QPrinter &printer) = 0;
};

class QtDialogs : public DialogHost {
public:
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<std::string> openFile(const std::string &filter, const std::string &fileName) override;
    std::optional<std::string> saveFile(const std::string &filter, const std::string &fileName) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    bool setUpPrinter(QPrinter &printer) override;
};

// Answers queued by a test, taken in order. A dialog shown with no answer
// queued is a fault of the test: it cancels and is counted in unexpected().
class ScriptedDialogs : public DialogHost {
public:
    struct Cancel {};
    using Answer = std::variant<Cancel, QColor, std::string, FontChoice, std::function<bool(QPrinter &)>>;

    void answer(Answer a) { answers_.push_back(std::move(a)); }
    void cancel() { answers_.push_back(Cancel{}); }
    int shown() const { return shown_; }
    int unexpected() const { return unexpected_; }
    bool allAnswered() const { return answers_.empty(); }
    // What each dialog was shown with, for tests: the initial file name and filter.
    const std::string &lastFilter() const { return lastFilter_; }
    const std::string &lastFileName() const { return lastFileName_; }
    const FontChoice &lastFont() const { return lastFont_; }
    const QColor &lastColor() const { return lastColor_; }

    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<std::string> openFile(const std::string &filter, const std::string &fileName) override;
    std::optional<std::string> saveFile(const std::string &filter, const std::string &fileName) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    bool setUpPrinter(QPrinter &printer) override;

private:
    std::optional<Answer> next();

    std::deque<Answer> answers_;
    int shown_ = 0;
    int unexpected_ = 0;
    std::string lastFilter_;
    std::string lastFileName_;
    FontChoice lastFont_;
    QColor lastColor_;
};

// The Qt name filters for the platform's filter string: "All Files (*.*)|*.*"
// gives "All Files (*.*) (*)", since "*.*" means every file, with or without a dot.
QStringList nameFilters(const std::string &filter);

} // namespace rt
