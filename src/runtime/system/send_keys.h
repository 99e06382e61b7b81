#pragma once

// Keystroke injection: a keystroke string in the platform's notation
// ("%{down}" is Alt with the Down Arrow key) is queued and delivered from the
// message loop to the widget that has the focus then; the call returns at once.

#include <QKeyCombination>

#include <string>
#include <vector>

namespace rt {

class SendKeys {
public:
    void send(const std::string &keys);

    // The key presses that a string stands for: "+" Shift, "^" Ctrl, "%" Alt
    // apply to the next key; "{name}" names a key; any other character types itself.
    static std::vector<QKeyCombination> parse(const std::string &keys);
};

} // namespace rt
