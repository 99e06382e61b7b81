#include "runtime/system/dialogs.h"

#include "runtime/text/legacy_text.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace rt {

QStringList nameFilters(const std::string &filter)
{
    QStringList result;
    const QStringList parts = toQString(filter).split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(';', Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == "*.*")
                p = "*";
        }
        result << parts.at(i) + " (" + patterns.join(' ') + ")";
    }
    return result;
}

namespace {

std::optional<std::string> runFileDialog(QFileDialog::AcceptMode mode, const std::string &filter,
                                         const std::string &fileName)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The type list shows each type as the program names it, as the
    // platform's dialog does, not with Qt's patterns after it; with no
    // filter there is no list (not Qt's own "All Files (*)") and every
    // file is listed.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters(filter));
    // The path is the host's: its bytes, not legacy text.
    if (!fileName.empty())
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(fileName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace

std::optional<QColor> QtDialogs::chooseColor(const QColor &initial)
{
    QColor chosen = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<std::string> QtDialogs::openFile(const std::string &filter, const std::string &fileName)
{
    return runFileDialog(QFileDialog::AcceptOpen, filter, fileName);
}

std::optional<std::string> QtDialogs::saveFile(const std::string &filter, const std::string &fileName)
{
    return runFileDialog(QFileDialog::AcceptSave, filter, fileName);
}

std::optional<FontChoice> QtDialogs::chooseFont(const FontChoice &initial)
{
    QFont font(QString::fromStdString(initial.name));
    font.setPointSizeF(initial.size > 0 ? initial.size : 8.25);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikethru);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    FontChoice choice;
    choice.name = chosen.family().toStdString();
    choice.size = float(chosen.pointSizeF());
    choice.bold = chosen.bold();
    choice.italic = chosen.italic();
    choice.underline = chosen.underline();
    choice.strikethru = chosen.strikeOut();
    return choice;
}

bool QtDialogs::setUpPrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::next()
{
    ++shown_;
    if (answers_.empty()) {
        ++unexpected_;
        return std::nullopt;
    }
    Answer a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor &initial)
{
    lastColor_ = initial;
    auto a = next();
    if (a && std::holds_alternative<QColor>(*a))
        return std::get<QColor>(*a);
    return std::nullopt;
}

std::optional<std::string> ScriptedDialogs::openFile(const std::string &filter, const std::string &fileName)
{
    lastFilter_ = filter;
    lastFileName_ = fileName;
    auto a = next();
    if (a && std::holds_alternative<std::string>(*a))
        return std::get<std::string>(*a);
    return std::nullopt;
}

std::optional<std::string> ScriptedDialogs::saveFile(const std::string &filter, const std::string &fileName)
{
    return openFile(filter, fileName);
}

std::optional<FontChoice> ScriptedDialogs::chooseFont(const FontChoice &initial)
{
    lastFont_ = initial;
    auto a = next();
    if (a && std::holds_alternative<FontChoice>(*a))
        return std::get<FontChoice>(*a);
    return std::nullopt;
}

bool ScriptedDialogs::setUpPrinter(QPrinter &printer)
{
    auto a = next();
    if (a && std::holds_alternative<std::function<bool(QPrinter &)>>(*a))
        return std::get<std::function<bool(QPrinter &)>>(*a)(printer);
    return false;
}

} // namespace rt
