#pragma once

// The platform's variant: Empty, Null, a Boolean, a whole number, a double or
// a text. Text is legacy 8-bit bytes, kept unchanged.

#include <cstdint>
#include <string>
#include <variant>

namespace rt {

class Variant {
public:
    enum class Type { Empty, Null, Boolean, Integer, Double, String };

    Variant() = default;
    Variant(bool value) : value_(value) {}
    Variant(int value) : value_(std::int64_t(value)) {}
    Variant(long value) : value_(std::int64_t(value)) {}
    Variant(long long value) : value_(std::int64_t(value)) {}
    Variant(double value) : value_(value) {}
    Variant(float value) : value_(double(value)) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char *value) : value_(std::string(value)) {}

    static Variant null();

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isString() const { return type() == Type::String; }
    bool isNumeric() const;

    // Conversions as the platform makes them; Null fails with "Invalid use of Null"
    // and text that is no number with "Type mismatch".
    std::string toString() const;   // Empty is ""; True and False are "True" and "False"
    double toDouble() const;
    std::int64_t toInteger() const; // rounds halves to even
    bool toBool() const;

    // Exact equality of type and value, for tests and comparisons of keys.
    bool operator==(const Variant &other) const = default;

private:
    struct NullValue {
        bool operator==(const NullValue &) const = default;
    };
    std::variant<std::monostate, NullValue, bool, std::int64_t, double, std::string> value_;
};

// The platform's Not: True gives False, False gives True, Null gives Null,
// a number its bitwise complement.
Variant Not(const Variant &value);

// The platform's text of a number: at most seven significant digits for a
// single, fifteen for a double; no decimal point for a whole number.
std::string numberText(double value, int significantDigits = 15);

} // namespace rt
