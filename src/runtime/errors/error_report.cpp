#include "runtime/errors/error_report.h"

#include "runtime/text/legacy_text.h"

#include <QApplication>
#include <QMessageBox>

namespace rt {

std::string reportText(const RuntimeError &error)
{
    return "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
}

void MessageBoxReport::show(const std::string &title, const RuntimeError &error)
{
    QMessageBox box(QMessageBox::Critical, toQString(title), toQString(reportText(error)), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void RecordedReports::show(const std::string &title, const RuntimeError &error)
{
    entries_.push_back({title, error.number(), error.description()});
}

} // namespace rt
