#include "runtime/system/settings.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/system/file_access.h"
#include "runtime/text/legacy_text.h"

#include <QSettings>
#include <QStandardPaths>

namespace rt {

namespace {

// Sets one entry of the settings file `name` and writes the file.
QSettings::Status storeEntry(const QString &name, const QString &entry, const QString &value)
{
    QSettings store(name, QSettings::IniFormat);
    store.setValue(entry, value);
    store.sync();
    return store.status();
}

} // namespace

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
    const std::filesystem::path file = fileOf(application);
    const QString name = QString::fromStdString(file.string());
    const QString entry = toQString(section) + '/' + toQString(key);
    QSettings::Status status = storeEntry(name, entry, toQString(value));
    // A file that cannot be read (damaged, or never a settings file) holds
    // nothing to keep, and would refuse this value and every later one: it
    // gives way, whole and at once, to an empty file, which takes the value.
    if (status == QSettings::FormatError && replaceFile(file, {}) == 0)
        status = storeEntry(name, entry, toQString(value));
    if (status != QSettings::NoError)
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
