#pragma once

#include <stdexcept>
#include <string>

namespace rt {

// The platform's error numbers that the program meets.
namespace err {
constexpr int InvalidProcedureCall = 5;      // "Invalid procedure call or argument"
constexpr int FileNotFound = 53;             // "File not found"
constexpr int PathFileAccess = 75;           // "Path/File access error"
constexpr int ObjectNotSet = 91;             // "Object variable or With block variable not set"
constexpr int InvalidUseOfNull = 94;         // "Invalid use of Null"
constexpr int TypeMismatch = 13;             // "Type mismatch"
constexpr int InvalidPropertyValue = 380;    // "Invalid property value"
constexpr int CantSizeMinMax = 384;          // "A form can't be moved or sized while minimized or maximized"
constexpr int NoSuchMember = 438;            // "Object doesn't support this property or method"
constexpr int NoCurrentRecord = 3021;        // "No current record."
constexpr int ObjectClosed = 3704;           // "Operation is not allowed when the object is closed."
constexpr int ProviderError = -2147467259;   // the provider's unspecified error (0x80004005)
constexpr int ElementNotFound = 35601;       // "Element not found"
constexpr int KeyNotUnique = 35602;          // "Key is not unique in collection"
constexpr int CancelSelected = 32755;        // "Cancel was selected."
} // namespace err

// A trappable run-time error: the number and description the platform gives.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string description);

    int number() const { return number_; }
    const std::string &description() const { return description_; }

    // Set once the run-time error report has shown this error, so that the
    // handlers it passes through on its way out do not show it again.
    bool reported() const { return reported_; }
    void markReported() { reported_ = true; }

    // The window whose load failed with this error, while the error travels
    // out of that load; nothing for an error of any other statement.
    const void *failedLoad() const { return failedLoad_; }
    void setFailedLoad(const void *form) { failedLoad_ = form; }

private:
    int number_;
    std::string description_;
    bool reported_ = false;
    const void *failedLoad_ = nullptr;
};

// The platform's own text for a number it knows, else "Application-defined or object-defined error".
std::string standardDescription(int number);

[[noreturn]] void raise(int number);
[[noreturn]] void raise(int number, std::string description);

} // namespace rt
