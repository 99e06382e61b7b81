#pragma once

// The per-user settings store: text values under an application name, a
// section and a key, kept in an INI file per application under the user's
// configuration folder (Velumir/<application>.ini).

#include <filesystem>
#include <string>

namespace rt {

class Settings {
public:
    // An empty root means the user's XDG configuration folder.
    explicit Settings(std::filesystem::path root = {});

    void SaveSetting(const std::string &application, const std::string &section, const std::string &key,
                     const std::string &value);
    // The stored value, or `fallback` when there is none.
    std::string GetSetting(const std::string &application, const std::string &section, const std::string &key,
                           const std::string &fallback = {}) const;

    std::filesystem::path fileOf(const std::string &application) const;

private:
    std::filesystem::path root_;
};

} // namespace rt
