#include "runtime/errors/runtime_error.h"

namespace rt {

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description))
{
}

std::string standardDescription(int number)
{
    switch (number) {
    case err::InvalidProcedureCall: return "Invalid procedure call or argument";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::PathFileAccess: return "Path/File access error";
    case err::ObjectNotSet: return "Object variable or With block variable not set";
    case err::InvalidUseOfNull: return "Invalid use of Null";
    case err::InvalidPropertyValue: return "Invalid property value";
    case err::CantSizeMinMax: return "A form can't be moved or sized while minimized or maximized";
    case err::NoSuchMember: return "Object doesn't support this property or method";
    case err::NoCurrentRecord: return "Either BOF or EOF is True, or the current record has been deleted. "
                                      "Requested operation requires a current record.";
    case err::ObjectClosed: return "Operation is not allowed when the object is closed.";
    case err::ElementNotFound: return "Element not found";
    case err::KeyNotUnique: return "Key is not unique in collection";
    case err::CancelSelected: return "Cancel was selected.";
    default: return "Application-defined or object-defined error";
    }
}

void raise(int number)
{
    throw RuntimeError(number, standardDescription(number));
}

void raise(int number, std::string description)
{
    throw RuntimeError(number, std::move(description));
}

} // namespace rt
