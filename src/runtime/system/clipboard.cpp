#include "runtime/system/clipboard.h"

#include "runtime/text/legacy_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace rt {

void Clipboard::SetText(const std::string &text)
{
    QGuiApplication::clipboard()->setText(toQString(text));
}

std::string Clipboard::GetText() const
{
    return fromQString(QGuiApplication::clipboard()->text());
}

} // namespace rt
