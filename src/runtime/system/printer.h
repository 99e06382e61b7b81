#pragma once

// The platform's current printer: one printer object of the program, the
// system's default printer until the printer dialog chooses another.

#include <memory>

class QPrinter;

namespace rt {

class PrinterService {
public:
    PrinterService();
    ~PrinterService();
    QPrinter &printer();

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace rt
