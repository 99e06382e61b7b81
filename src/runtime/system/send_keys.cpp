#include "runtime/system/send_keys.h"

#include "runtime/errors/runtime_error.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <map>

namespace rt {

namespace {

const std::map<std::string, Qt::Key> &namedKeys()
{
    static const std::map<std::string, Qt::Key> keys = {
        {"down", Qt::Key_Down}, {"up", Qt::Key_Up}, {"left", Qt::Key_Left}, {"right", Qt::Key_Right},
        {"enter", Qt::Key_Return}, {"tab", Qt::Key_Tab}, {"esc", Qt::Key_Escape}, {"home", Qt::Key_Home},
        {"end", Qt::Key_End}, {"pgup", Qt::Key_PageUp}, {"pgdn", Qt::Key_PageDown}, {"del", Qt::Key_Delete},
        {"delete", Qt::Key_Delete}, {"bs", Qt::Key_Backspace}, {"backspace", Qt::Key_Backspace},
        {"escape", Qt::Key_Escape}, {"insert", Qt::Key_Insert}, {"f1", Qt::Key_F1}};
    return keys;
}

} // namespace

std::vector<QKeyCombination> SendKeys::parse(const std::string &keys)
{
    std::vector<QKeyCombination> result;
    Qt::KeyboardModifiers modifiers;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        char c = keys[i];
        if (c == '+') { modifiers |= Qt::ShiftModifier; continue; }
        if (c == '^') { modifiers |= Qt::ControlModifier; continue; }
        if (c == '%') { modifiers |= Qt::AltModifier; continue; }
        Qt::Key key;
        if (c == '{') {
            std::size_t close = keys.find('}', i + 2);
            if (close == std::string::npos)
                raise(err::InvalidProcedureCall);
            std::string name = keys.substr(i + 1, close - i - 1);
            for (char &ch : name)
                ch = char(std::tolower(static_cast<unsigned char>(ch)));
            auto found = namedKeys().find(name);
            if (found != namedKeys().end())
                key = found->second;
            else if (name.size() == 1)
                key = Qt::Key(std::toupper(static_cast<unsigned char>(name[0])));
            else
                raise(err::InvalidProcedureCall);
            i = close;
        } else if (c == '~') {
            key = Qt::Key_Return;
        } else {
            key = Qt::Key(std::toupper(static_cast<unsigned char>(c)));
        }
        result.push_back(QKeyCombination(modifiers, key));
        modifiers = {};
    }
    return result;
}

void SendKeys::send(const std::string &keys)
{
    std::vector<QKeyCombination> presses = parse(keys);
    QTimer::singleShot(0, qApp, [presses] {
        for (const QKeyCombination &press : presses) {
            QPointer<QWidget> target = QApplication::focusWidget();
            if (!target)
                return;
            QKeyEvent down(QEvent::KeyPress, press.key(), press.keyboardModifiers());
            QApplication::sendEvent(target, &down);
            if (!target)
                return;
            QKeyEvent up(QEvent::KeyRelease, press.key(), press.keyboardModifiers());
            QApplication::sendEvent(target, &up);
        }
    });
}

} // namespace rt
