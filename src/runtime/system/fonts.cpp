#include "runtime/system/fonts.h"

#include "runtime/system/drive.h"
#include "runtime/system/font_names.h"

#include <QFontDatabase>
#include <QString>

#include <algorithm>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace rt {

namespace {

namespace fs = std::filesystem;

bool isFontFileName(const fs::path &file)
{
    const QString extension = QString::fromStdString(file.extension().string()).toLower();
    return extension == ".ttf" || extension == ".otf" || extension == ".ttc" || extension == ".otc";
}

// The regular font files of a folder, in name order (so that, of two files
// of one family, the same one is added first on every start).
std::vector<fs::path> fontFiles(const fs::path &folder)
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isFontFileName(it->path()) && it->is_regular_file(ec))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Adds a font file to the program's fonts, once per process.
QStringList addFontFile(const fs::path &file)
{
    static std::set<fs::path> added;
    std::error_code ec;
    const fs::path canonical = fs::canonical(file, ec);
    if (ec || !added.insert(canonical).second)
        return {};
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file.string()));
    return id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
}

bool anyOf(const QStringList &names, const QStringList &wanted)
{
    for (const QString &name : names) {
        if (wanted.contains(name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QStringList loadWindowsFonts(const Drive &drive, const QStringList &families)
{
    QStringList loaded;
    for (const fs::path &file : fontFiles(drive.hostPath("C:\\WINDOWS\\Fonts"))) {
        if (anyOf(fontFamilies(file), families))
            loaded += addFontFile(file);
    }
    return loaded;
}

QStringList loadStandInFonts(const fs::path &folder)
{
    QStringList loaded;
    for (const fs::path &file : fontFiles(folder)) {
        const QStringList names = fontFamilies(file);
        bool available = names.isEmpty();
        for (const QString &name : names)
            available = available || QFontDatabase::hasFamily(name);
        if (!available)
            loaded += addFontFile(file);
    }
    return loaded;
}

} // namespace rt
