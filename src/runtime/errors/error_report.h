#pragma once

// The run-time error report: what the user sees when a handler that guards
// nothing fails. The program then abandons that handler and goes on.

#include "runtime/errors/runtime_error.h"

#include <string>
#include <vector>

namespace rt {

class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void show(const std::string &title, const RuntimeError &error) = 0;
};

// The platform's message box: the program's title, the error number and its text.
class MessageBoxReport : public ErrorReport {
public:
    void show(const std::string &title, const RuntimeError &error) override;
};

// Keeps the reports instead of showing them (tests).
class RecordedReports : public ErrorReport {
public:
    struct Entry {
        std::string title;
        int number;
        std::string description;
    };
    void show(const std::string &title, const RuntimeError &error) override;
    const std::vector<Entry> &entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};

// "Run-time error '53':\n\nFile not found"
std::string reportText(const RuntimeError &error);

} // namespace rt
