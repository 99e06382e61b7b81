#include "runtime/data/recordset.h"

#include "runtime/data/connection.h"
#include "runtime/data/cursor.h"
#include "runtime/data/data_errors.h"
#include "runtime/errors/runtime_error.h"

namespace rt {

namespace {

[[noreturn]] void badArguments()
{
    raise(err::BadArguments,
          "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.");
}

detail::SourceKind sourceKind(long options)
{
    if (options == -1)
        return detail::SourceKind::Unknown;
    switch (options & (Recordset::CommandText | Recordset::CommandTable | 4 | Recordset::CommandUnknown |
                       Recordset::CommandTableDirect)) {
    case 0:
    case Recordset::CommandUnknown: return detail::SourceKind::Unknown;
    case Recordset::CommandText: return detail::SourceKind::Text;
    case Recordset::CommandTable:
    case Recordset::CommandTableDirect: return detail::SourceKind::Table;
    default: badArguments(); // stored procedures, or command types in conflict
    }
}

} // namespace

Recordset::Recordset() : cursor_(std::make_unique<detail::Cursor>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset &&) noexcept = default;
Recordset &Recordset::operator=(Recordset &&) noexcept = default;

detail::Cursor &Recordset::cursor() const
{
    if (!cursor_) // a recordset that was moved from
        detail::raiseObjectClosed(detail::Dialect::Ado);
    return *cursor_;
}

void Recordset::Open(std::string_view source, Connection &activeConnection, int cursorType, int lockType,
                     long options)
{
    if (!cursor_)
        cursor_ = std::make_unique<detail::Cursor>();
    if (cursor_->isOpen())
        raise(err::ObjectOpen, "Operation is not allowed when the object is open.");
    if (!activeConnection.handle())
        raise(err::ConnectionUnusable, "The connection cannot be used to perform this operation. It is either "
                                       "closed or invalid in this context.");
    if (cursorType < -1 || cursorType > 3 || lockType < -1 || lockType > 4)
        badArguments();
    cursor_->open(activeConnection.handle(), source, sourceKind(options), detail::Dialect::Ado, keptFields_);
}

void Recordset::Close() { cursor().close(); }
int Recordset::State() const { return cursor_ && cursor_->isOpen() ? 1 : 0; }
bool Recordset::Bof() const { return cursor().bof(); }
bool Recordset::Eof() const { return cursor().eof(); }
void Recordset::MoveFirst() { cursor().moveFirst(); }
void Recordset::MoveLast() { cursor().moveLast(); }
void Recordset::MoveNext() { cursor().moveNext(); }
void Recordset::MovePrevious() { cursor().movePrevious(); }
long Recordset::AbsolutePosition() const { return cursor().absolutePosition(); }
void Recordset::setAbsolutePosition(long position) { cursor().setAbsolutePosition(position); }
Field &Recordset::Fields(int index) { return cursor().field(index); }
Field &Recordset::Fields(std::string_view name) { return cursor().field(name); }
int Recordset::FieldCount() const { return cursor().fieldCount(); }
long Recordset::RecordCount() const { return cursor().recordCount(); }

Variant Recordset::cell(long row, int column) const
{
    const detail::Cursor &rows = cursor();
    rows.requireOpen();
    if (row < 0 || row >= rows.recordCount())
        badArguments();
    return rows.cell(row, column);
}

long Recordset::findPrefix(int column, std::string_view prefix, long fromRow) const
{
    return cursor().findPrefix(column, prefix, fromRow);
}

} // namespace rt
