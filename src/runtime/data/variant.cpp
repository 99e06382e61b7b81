#include "runtime/data/variant.h"

#include "runtime/errors/runtime_error.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rt {

Variant Variant::null()
{
    Variant v;
    v.value_ = NullValue{};
    return v;
}

Variant::Type Variant::type() const
{
    switch (value_.index()) {
    case 0: return Type::Empty;
    case 1: return Type::Null;
    case 2: return Type::Boolean;
    case 3: return Type::Integer;
    case 4: return Type::Double;
    default: return Type::String;
    }
}

bool Variant::isNumeric() const
{
    return type() == Type::Integer || type() == Type::Double || type() == Type::Boolean;
}

std::string numberText(double value, int significantDigits)
{
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, value);
    std::string text = buffer;
    if (text.find('E') != std::string::npos)
        return text;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

std::string Variant::toString() const
{
    switch (type()) {
    case Type::Empty: return {};
    case Type::Null: raise(err::InvalidUseOfNull);
    case Type::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case Type::Integer: return std::to_string(std::get<std::int64_t>(value_));
    case Type::Double: return numberText(std::get<double>(value_));
    case Type::String: return std::get<std::string>(value_);
    }
    return {};
}

double Variant::toDouble() const
{
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Null: raise(err::InvalidUseOfNull);
    case Type::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case Type::Integer: return double(std::get<std::int64_t>(value_));
    case Type::Double: return std::get<double>(value_);
    case Type::String: {
        const std::string &s = std::get<std::string>(value_);
        char *end = nullptr;
        double d = std::strtod(s.c_str(), &end);
        while (end && *end == ' ')
            ++end;
        if (s.empty() || !end || *end != '\0')
            raise(err::TypeMismatch);
        return d;
    }
    }
    return 0;
}

std::int64_t Variant::toInteger() const
{
    if (type() == Type::Integer)
        return std::get<std::int64_t>(value_);
    return std::int64_t(std::nearbyint(toDouble()));
}

bool Variant::toBool() const
{
    if (type() == Type::Boolean)
        return std::get<bool>(value_);
    if (type() == Type::String) {
        const std::string &s = std::get<std::string>(value_);
        if (s == "True" || s == "true" || s == "TRUE")
            return true;
        if (s == "False" || s == "false" || s == "FALSE")
            return false;
    }
    return toDouble() != 0;
}

Variant Not(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Null: return Variant::null();
    case Variant::Type::Boolean: return Variant(!value.toBool());
    case Variant::Type::Empty: return Variant(-1);
    case Variant::Type::String:
        if (value.toString() == "True" || value.toString() == "False")
            return Variant(!value.toBool());
        return Variant(static_cast<long long>(~value.toInteger()));
    default: return Variant(static_cast<long long>(~value.toInteger()));
    }
}

} // namespace rt
