#include "runtime/system/settings.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/system/file_access.h"
#include "runtime/text/legacy_text.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

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

// A settings file of the one entry, as the store writes it; false when the
// store could not write it.
bool fileOfOneEntry(const QString &entry, const QString &value, std::string &content)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return false;
    const QString name = dir.filePath("settings.ini");
    {
        QSettings store(name, QSettings::IniFormat);
        store.setValue(entry, value);
        store.sync();
        if (store.status() != QSettings::NoError)
            return false;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    content = file.readAll().toStdString();
    return true;
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
    const std::string refused = "The settings store refused the value '" + key + "'.";
    // A file that cannot be read (damaged, or never a settings file) holds
    // nothing to keep, and would refuse every later value with it: it gives
    // way, whole and at once, to a file of this value alone.
    if (!readable(name)) {
        std::string content;
        if (!fileOfOneEntry(entry, toQString(value), content) || replaceFile(file, content) != 0)
            raise(err::PathFileAccess, refused);
        return;
    }
    QSettings store(name, QSettings::IniFormat);
    store.setValue(entry, toQString(value));
    store.sync();
    if (store.status() != QSettings::NoError)
        raise(err::PathFileAccess, refused);
}

std::string Settings::GetSetting(const std::string &application, const std::string &section, const std::string &key,
                                 const std::string &fallback) const
{
    QSettings store(QString::fromStdString(fileOf(application).string()), QSettings::IniFormat);
    QVariant value = store.value(toQString(section) + '/' + toQString(key));
    return value.isValid() ? fromQString(value.toString()) : fallback;
}

} // namespace rt
