#include "runtime/system/settings.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <QSettings>
#include <QStandardPaths>

namespace rt {

Settings::Settings(std::filesystem::path root) : root_(std::move(root))
{
    if (root_.empty())
        root_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

std::filesystem::path Settings::fileOf(const std::string &application) const
{
    return root_ / "Velumir" / (application + ".ini");
}

void Settings::SaveSetting(const std::string &application, const std::string &section, const std::string &key,
                           const std::string &value)
{
    QSettings store(QString::fromStdString(fileOf(application).string()), QSettings::IniFormat);
    store.setValue(toQString(section) + '/' + toQString(key), toQString(value));
    store.sync();
    if (store.status() != QSettings::NoError)
        raise(err::PathFileAccess, "The settings store refused the value '" + key + "'.");
}

std::string Settings::GetSetting(const std::string &application, const std::string &section, const std::string &key,
                                 const std::string &fallback) const
{
    QSettings store(QString::fromStdString(fileOf(application).string()), QSettings::IniFormat);
    QVariant value = store.value(toQString(section) + '/' + toQString(key));
    return value.isValid() ? fromQString(value.toString()) : fallback;
}

} // namespace rt
