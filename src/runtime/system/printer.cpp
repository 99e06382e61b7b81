#include "runtime/system/printer.h"

#include <QPrinter>

namespace rt {

PrinterService::PrinterService() = default;
PrinterService::~PrinterService() = default;

QPrinter &PrinterService::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

} // namespace rt
