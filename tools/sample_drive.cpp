#include "sample_drive.h"

#include "browser/catalogues/new_testament.h"
#include "sample_data.h"

#include "runtime/system/drive.h"

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace sample {

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kStream = 20070301;

struct Picture {
    const char *file;  // empty: a record without a picture
    bool drawn;        // false: the record names a file that is not there
    const char *caption;
};

// Captions are legacy Khmer bytes.
const std::vector<Picture> &pictures()
{
    static const std::vector<Picture> list = {
        {"ark.png", true, "TUkNUeG"},                             // ទូកណូអេ
        {"temple.jpg", true, "RBHvihar"},                         // ព្រះវិហារ
        {"", false, "KMnUr K\xB5" "anrUb"},                       // គំនូរ គ្មានរូប
        {"map.png", true, "EpnTI RsukGuIRsaEGl"},                 // ផែនទី ស្រុកអ៊ីស្រាអែល
        {"missing.png", false, "rUbEdl)at;"},                     // រូបដែលបាត់
        {"lamp.jpg", true, "ceg\xE1og"},                          // ចង្កៀង
        {"scroll.png", true, "RkaMgKm<Ir elakub,t\xFEi"},         // ក្រាំងគម្ពីរ លោកុប្បត្តិ
    };
    return list;
}

std::string windowsPath(const char *relative)
{
    std::string path = std::string("C:\\") + relative;
    for (char &c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string jetConnection(const char *database)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + windowsPath(database)
        + ";Persist Security Info=False";
}

// A simple scene per picture: sky, ground, and a few shapes whose colours
// and places depend on the picture's number.
QImage drawPicture(int number)
{
    QImage image(320, 240, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, QColor::fromHsv((40 * number) % 360, 90, 250));
    sky.setColorAt(1, QColor::fromHsv((40 * number + 30) % 360, 40, 255));
    painter.fillRect(0, 0, 320, 160, sky);
    painter.fillRect(0, 160, 320, 80, QColor::fromHsv((25 * number + 60) % 360, 120, 150));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 220, 90));
    painter.drawEllipse(QPointF(260 - 30 * number, 50), 22, 22);

    painter.setBrush(QColor::fromHsv((70 * number) % 360, 160, 120));
    QPainterPath hill;
    hill.moveTo(0, 170);
    hill.cubicTo(80, 90 - 5 * number, 160, 120, 320, 150 + 3 * number);
    hill.lineTo(320, 240);
    hill.lineTo(0, 240);
    painter.drawPath(hill);

    painter.setBrush(QColor(110, 70, 40));
    painter.drawRect(120 + 10 * number, 150, 60, 50);
    painter.setBrush(QColor(170, 40, 40));
    painter.drawPolygon(QPolygonF({QPointF(110 + 10 * number, 150), QPointF(150 + 10 * number, 115),
                                   QPointF(190 + 10 * number, 150)}));
    painter.end();
    return image;
}

void writePictures(const rt::Drive &drive)
{
    fs::create_directories(drive.hostPath(paths::kPictureFolder));
    std::vector<PictureRow> rows;
    int number = 0;
    for (const Picture &picture : pictures()) {
        ++number;
        std::string path;
        if (*picture.file) {
            path = windowsPath(paths::kPictureFolder) + "\\" + picture.file;
            const fs::path file = drive.hostPath(std::string(paths::kPictureFolder) + "/" + picture.file);
            fs::remove(file);
            if (picture.drawn && !drawPicture(number).save(QString::fromStdString(file.string())))
                throw std::runtime_error("cannot save " + file.string());
        }
        std::optional<std::string> notes;
        if (number % 3 != 0)
            notes = pseudoText(kStream + 900 + number, 80);
        rows.push_back({number, std::string(picture.caption), notes, path});
    }
    makePictureTable(drive.hostPath(paths::kPictureDb), rows);
}

// The files that the maker writes, pictures aside.
const std::vector<const char *> &files()
{
    static const std::vector<const char *> list = {
        paths::kNewTestamentLink, paths::kNewTestamentDb, paths::kOldTestamentLink,
        paths::kOldTestamentDb,   paths::kConcordance,    paths::kBibleDictionary,
        paths::kKhmerDictionary,  paths::kPictureDb,
    };
    return list;
}

} // namespace

DriveFolder inspectDriveFolder(const fs::path &driveC)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(driveC, ec);
    if (fs::is_symlink(status))
        return DriveFolder::Linked;
    fs::path folder = driveC;
    if (fs::exists(status)) {
        // A folder that cannot be read might hold anything.
        if (!fs::is_directory(status) || !fs::is_empty(driveC, ec) || ec)
            return DriveFolder::Taken;
    } else {
        // The folder that it would be made in.
        folder = fs::absolute(driveC, ec);
        while (folder.has_relative_path() && !fs::exists(fs::symlink_status(folder, ec)))
            folder = folder.parent_path();
    }
    return access(folder.c_str(), W_OK | X_OK) == 0 ? DriveFolder::Free : DriveFolder::ReadOnly;
}

void makeSampleDrive(const fs::path &driveC)
{
    const rt::Drive drive(driveC);
    fs::create_directories(drive.hostPath("WINDOWS/system32"));
    fs::create_directories(drive.hostPath("Program Files/Velumir"));
    const auto at = [&](const char *relative) { return drive.hostPath(relative); };
    for (const char *file : files())
        fs::remove(at(file));

    writeDataLink(at(paths::kNewTestamentLink), jetConnection(paths::kNewTestamentDb));
    makeChapterTable(at(paths::kNewTestamentDb), "mattew", testamentRows({velumir::newTestament()}, kStream));

    writeDataLink(at(paths::kOldTestamentLink), jetConnection(paths::kOldTestamentDb));
    makeChapterTable(at(paths::kOldTestamentDb), "Bible", testamentRows(oldTestamentReadingOrder(), kStream + 1));

    makeLookupTable(at(paths::kConcordance), lookupRows(kConcordanceRows, kStream + 2, 200, 2000));
    makeLookupTable(at(paths::kBibleDictionary), lookupRows(kBibleDictionaryRows, kStream + 3, 200, 3000));
    makeLookupTable(at(paths::kKhmerDictionary), lookupRows(kKhmerDictionaryRows, kStream + 4, 20, 120));

    writePictures(drive);
}

} // namespace sample
