#include "runtime/system/settings.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/system/file_access.h"
#include "runtime/text/legacy_text.h"

#include <QSettings>
#include <QStandardPaths>

namespace rt {

namespace {

// Whether the settings file parses (a missing file does); the file is read
// only once its keys are asked for.
bool readable(const QString &file)
{
    QSettings store(file, QSettings::IniFormat);
    store.allKeys();
    return store.status() != QSettings::FormatError;
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
    // A file that cannot be read (damaged, or never a settings file) holds
    // nothing to keep: it gives way, at once and whole, to an empty one, or
    // every later value would be refused with it.
    if (!readable(name) && replaceFile(file, {}) != 0)
        raise(err::PathFileAccess, "The settings store refused the value '" + key + "'.");
    QSettings store(name, QSettings::IniFormat);
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
