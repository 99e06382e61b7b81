#include "runtime/data/jet/jet_file.h"

#include "runtime/data/jet/jet_text.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string_view>

namespace rt::jet {

namespace {

constexpr int RowOffsetMask = 0x1FFF; // a row's offset in its page, without its flags
constexpr int RowDeleted = 0x4000;

// The 12-byte head of a long value (MEMO, OLE) starts with its length and
// two flags that say where it lies: right after the head, in one row of a
// long-value page, or (neither flag) in a chain of such rows.
constexpr std::uint32_t LongValueInline = 0x80000000u;
constexpr std::uint32_t LongValueOnePage = 0x40000000u;
constexpr std::uint32_t LongValueFlags = 0xC0000000u;
constexpr std::uint32_t LongValueLength = 0x3FFFFFFFu;

std::uint32_t littleEndian32(const char *at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(at[i]);
    return value;
}

Kind kindOf(int type)
{
    switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX: return Kind::Integer;
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC: return Kind::Real;
    case MDB_DATETIME:
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID: return Kind::Text;
    case MDB_BINARY:
    case MDB_OLE: return Kind::Blob;
    default: return Kind::Null;
    }
}

// The bytes a fixed-size value needs, 0 for a variable one.
int fixedSize(int type)
{
    switch (type) {
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT:
    case MDB_COMPLEX:
    case MDB_FLOAT: return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME: return 8;
    case MDB_REPID: return 16;
    case MDB_NUMERIC: return 17;
    default: return 0;
    }
}

std::string folded(std::string name)
{
    for (char &c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string dateText(double days)
{
    struct tm t = {};
    mdb_date_to_tm(days, &t);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &t);
    return text;
}

std::int64_t money(const unsigned char *at)
{
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | at[i];
    return static_cast<std::int64_t>(value);
}

} // namespace

struct JetFile::Impl {
    MdbHandle *mdb = nullptr;
    std::unique_ptr<JetText> text;
    void *mapped = MAP_FAILED;
    std::size_t size = 0;

    ~Impl()
    {
        if (mdb)
            mdb_close(mdb);
        if (mapped != MAP_FAILED)
            munmap(mapped, size);
    }

    const unsigned char *page() const { return mdb->pg_buf; }
    long pageSize() const { return long(mdb->fmt->pg_size); }

    void readTable(MdbCatalogEntry *entry, TableSink *sink);
    Value value(MdbColumn *column, const MdbField &field);
    std::string longValue(int start, int size);
    std::string_view longValueRow(std::uint32_t pageRow) const;
};

JetFile::JetFile(const std::string &path) : impl_(std::make_unique<Impl>())
{
    // libmdb reads a file page by page with three system calls a page; from
    // memory it reads as fast as it can take the pages apart.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size == 0) {
        if (fd >= 0)
            close(fd);
        throw NotJet("the file cannot be read");
    }
    impl_->size = std::size_t(status.st_size);
    impl_->mapped = mmap(nullptr, impl_->size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (impl_->mapped == MAP_FAILED)
        throw NotJet("the file cannot be read");
    impl_->mdb = mdb_open_buffer(impl_->mapped, impl_->size, MDB_NOFLAGS);
    if (!impl_->mdb)
        throw NotJet("libmdb cannot open the file");
    impl_->text = std::make_unique<JetText>(impl_->mdb);
    if (!impl_->text->ready())
        throw NotJet("no converter for the file's text");
}

JetFile::~JetFile() = default;

void JetFile::readTables(TableSink &sink)
{
    MdbHandle *mdb = impl_->mdb;
    // libmdb reads the catalogue (the system table MSysObjects, whose
    // definition is on page 2) without telling whether it got all of it: a
    // file cut short would simply seem to hold fewer tables. Its rows are
    // counted here first, as every table's are.
    MdbCatalogEntry catalogue = {};
    catalogue.mdb = mdb;
    catalogue.object_type = MDB_TABLE;
    catalogue.table_pg = 2;
    std::snprintf(catalogue.object_name, sizeof catalogue.object_name, "MSysObjects");
    impl_->readTable(&catalogue, nullptr);

    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw JetDamaged("the catalogue cannot be read");
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            impl_->readTable(entry, &sink);
    }
}

// Reads the table whole; without a sink only its rows are counted.
void JetFile::Impl::readTable(MdbCatalogEntry *entry, TableSink *sink)
{
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)> table(mdb_read_table(entry), mdb_free_tabledef);
    if (!table || !mdb_read_columns(table.get()) || table->num_cols == 0 ||
        table->columns->len != table->num_cols)
        throw JetDamaged("a table definition cannot be read");

    std::vector<MdbColumn *> columns;
    std::vector<Column> described;
    std::set<std::string> names; // Jet's names are unique, letter case aside
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
        columns.push_back(column);
        described.push_back({text->name(column->name), kindOf(column->col_type)});
        if (described.back().name.empty() || !names.insert(folded(described.back().name)).second)
            throw JetDamaged("a table definition names a column twice or not at all");
    }
    if (sink)
        sink->beginTable(text->name(table->name), described);

    // The data pages in the order the table's usage map lists them, and the
    // rows of each page in their order there: the table's stored order.
    std::vector<MdbField> fields(table->num_cols);
    std::vector<Value> values(table->num_cols);
    unsigned long rows = 0;
    mdb_rewind_table(table.get());
    while (mdb_read_next_dpg(table.get())) {
        const int count = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < count; ++r) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, r, &start, &size) != 0 || size == 0 || (start & RowDeleted))
                continue;
            start &= RowOffsetMask;
            if (mdb_crack_row(table.get(), start, size, fields.data()) < 0)
                throw JetDamaged("a row cannot be taken apart");
            if (++rows > table->num_rows)
                throw JetDamaged("more rows than the table counts");
            if (!sink)
                continue;
            for (unsigned c = 0; c < table->num_cols; ++c) {
                const MdbField &field = fields[c];
                if (field.colnum < 0 || unsigned(field.colnum) >= table->num_cols)
                    throw JetDamaged("a value of no column");
                values[unsigned(field.colnum)] = value(columns[unsigned(field.colnum)], field);
            }
            sink->row(values);
        }
    }
    if (rows != table->num_rows)
        throw JetDamaged("fewer rows than the table counts");
    if (sink)
        sink->endTable();
}

Value JetFile::Impl::value(MdbColumn *column, const MdbField &field)
{
    Value v;
    const int type = column->col_type;
    if (type == MDB_BOOL) { // kept in the row's null mask: set is True
        v.kind = Kind::Integer;
        v.integer = field.is_null ? 0 : -1;
        return v;
    }
    if (field.is_null || kindOf(type) == Kind::Null)
        return v;
    if (field.start < 0 || field.siz < 0 || long(field.start) + field.siz > pageSize() ||
        field.siz < fixedSize(type))
        throw JetDamaged("a value lies outside its page");

    const unsigned char *at = page() + field.start;
    v.kind = kindOf(type);
    switch (type) {
    case MDB_BYTE: v.integer = at[0]; break;
    case MDB_INT: v.integer = static_cast<std::int16_t>(mdb_get_int16(mdb->pg_buf, field.start)); break;
    case MDB_LONGINT:
    case MDB_COMPLEX: v.integer = static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, field.start)); break;
    case MDB_FLOAT: v.real = mdb_get_single(mdb->pg_buf, field.start); break;
    case MDB_DOUBLE: v.real = mdb_get_double(mdb->pg_buf, field.start); break;
    case MDB_MONEY: v.real = double(money(at)) / 10000.0; break;
    case MDB_NUMERIC: {
        char *text = mdb_numeric_to_string(mdb, field.start, column->col_scale, column->col_prec);
        v.real = text ? std::strtod(text, nullptr) : 0.0;
        g_free(text);
        break;
    }
    case MDB_DATETIME: v.bytes = dateText(mdb_get_double(mdb->pg_buf, field.start)); break;
    case MDB_REPID: {
        char *text = mdb_uuid_to_string(mdb->pg_buf, field.start);
        v.bytes = text ? text : "";
        g_free(text);
        break;
    }
    case MDB_BINARY: v.bytes.assign(reinterpret_cast<const char *>(at), std::size_t(field.siz)); break;
    case MDB_OLE: v.bytes = longValue(field.start, field.siz); break;
    case MDB_TEXT:
        if (!text->utf8(at, std::size_t(field.siz), v.bytes))
            throw JetDamaged("a text does not convert");
        break;
    case MDB_MEMO: {
        const std::string stored = longValue(field.start, field.siz);
        if (!text->utf8(stored.data(), stored.size(), v.bytes))
            throw JetDamaged("a long text does not convert");
        break;
    }
    }
    return v;
}

// The row `pageRow` (page number times 256, plus the row) of a long-value
// page, read from the file in memory.
std::string_view JetFile::Impl::longValueRow(std::uint32_t pageRow) const
{
    const std::size_t page = pageRow >> 8;
    const int row = int(pageRow & 0xFF);
    const auto pageSize = std::size_t(mdb->fmt->pg_size);
    if ((page + 1) * pageSize > size || page == 0)
        throw JetDamaged("a long value's page is not in the file");
    auto *bytes = static_cast<unsigned char *>(mapped) + page * pageSize;
    const int offsets = mdb->fmt->row_count_offset;
    if (bytes[0] != MDB_PAGE_DATA || std::memcmp(bytes + 4, "LVAL", 4) != 0 || row >= mdb_get_int16(bytes, offsets))
        throw JetDamaged("a long value's row is not where its head says");
    const int begin = mdb_get_int16(bytes, offsets + 2 + row * 2) & RowOffsetMask;
    const int end = row == 0 ? int(pageSize) : mdb_get_int16(bytes, offsets + row * 2) & RowOffsetMask;
    if (begin > end || std::size_t(end) > pageSize)
        throw JetDamaged("a long value's row lies outside its page");
    return {reinterpret_cast<const char *>(bytes) + begin, std::size_t(end - begin)};
}

// The whole stored bytes of a long value whose head is at `start` of the
// current page, checked against the length the head gives.
std::string JetFile::Impl::longValue(int start, int size)
{
    if (size == 0)
        return {};
    if (size < MDB_MEMO_OVERHEAD)
        throw JetDamaged("a long value without its head");
    const auto head = static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, start));
    const std::size_t length = head & LongValueLength;
    std::string stored;
    if ((head & LongValueFlags) == LongValueInline) {
        stored.assign(reinterpret_cast<const char *>(page() + start + MDB_MEMO_OVERHEAD),
                      std::size_t(size - MDB_MEMO_OVERHEAD));
    } else if ((head & LongValueFlags) == 0 || (head & LongValueFlags) == LongValueOnePage) {
        const bool chained = (head & LongValueFlags) == 0;
        auto pageRow = static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, start + 4));
        do {
            const std::string_view row = longValueRow(pageRow);
            if (!chained) {
                stored.assign(row);
                break;
            }
            // Each piece starts with the place of the next, 0 after the last.
            if (row.size() <= 4 || stored.size() + row.size() - 4 > length)
                throw JetDamaged("a long value's pieces do not add up");
            pageRow = littleEndian32(row.data());
            stored.append(row.substr(4));
        } while (pageRow != 0);
    } else {
        throw JetDamaged("a long value of no known kind");
    }
    if (stored.size() != length)
        throw JetDamaged("a long value of another length than its head gives");
    return stored;
}

} // namespace rt::jet
