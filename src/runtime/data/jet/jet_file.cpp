#include "runtime/data/jet/jet_file.h"

#include "runtime/data/jet/jet_text.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string_view>

namespace rt::jet {

namespace {

constexpr int RowOffsetMask = 0x1FFF; // a row's offset in its page, without its flags
// When a row grows too large for its page, Access moves it to another page
// and leaves in its slot the place it went to (a row byte, then a 3-byte
// page number), flagged RowPointer; the row itself is flagged RowElsewhere,
// as a deleted row is (a deleted row has both flags). A table's stored order
// holds a moved row in its old slot.
constexpr int RowPointer = 0x4000;
constexpr int RowElsewhere = 0x8000;
constexpr int MaxPointerHops = 8;

constexpr unsigned char PageData = 0x01;
constexpr unsigned char PageDefinition = 0x02;
constexpr unsigned char PageUsageMap = 0x05;

// A column of Access 2010 and later that holds a value Access computed, in a
// form of its own: its descriptor's extra flags (ACE only) say so.
constexpr int ColumnExtraFlags = 16;
constexpr unsigned char ColumnCalculated = 0xC0;

// The 12-byte head of a long value (MEMO, OLE) starts with its length and
// two flags that say where it lies: right after the head, in one row of a
// long-value page, or (neither flag) in a chain of such rows.
constexpr std::uint32_t LongValueInline = 0x80000000u;
constexpr std::uint32_t LongValueOnePage = 0x40000000u;
constexpr std::uint32_t LongValueFlags = 0xC0000000u;
constexpr std::uint32_t LongValueLength = 0x3FFFFFFFu;

std::uint32_t littleEndian32(const unsigned char *at)
{
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
}
std::uint32_t littleEndian32(const char *at) { return littleEndian32(reinterpret_cast<const unsigned char *>(at)); }

std::uint32_t littleEndian16(const unsigned char *at) { return std::uint32_t(at[0] | at[1] << 8); }

// The kind of value a column type is written as; Null for a type that is not
// converted (attachments and multi-value fields among them), which is left
// out of the copy.
Kind kindOf(int type)
{
    switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT: return Kind::Integer;
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

std::int64_t money(const unsigned char *at)
{
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | at[i];
    return static_cast<std::int64_t>(value);
}

// Howard Hinnant's days_from_civil inverted: the proleptic Gregorian date
// `days` after 1970-01-01.
void civilFromDays(std::int64_t days, std::int64_t &year, int &month, int &day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t ofEra = days - era * 146097;
    const std::int64_t yearOfEra = (ofEra - ofEra / 1460 + ofEra / 36524 - ofEra / 146096) / 365;
    const std::int64_t ofYear = ofEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * ofYear + 2) / 153;
    day = int(ofYear - (153 * shifted + 2) / 5 + 1);
    month = int(shifted < 10 ? shifted + 3 : shifted - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

// The dates Access takes: the years 100 to 9999.
constexpr double FirstDay = -657434.0;  // 100-01-01
constexpr double LastDay = 2958466.0;   // the day after 9999-12-31
constexpr std::int64_t DaysTo1899_12_30 = -25569; // from 1970-01-01

} // namespace

std::string dateText(double days)
{
    if (!(days > FirstDay - 1 && days < LastDay))
        throw JetDamaged("a date outside the years 100 to 9999");
    // Days since 1899-12-30 in the whole part, counted back for earlier
    // dates, and the time of day in the fraction, which counts forward from
    // midnight on either side (-1.25 is 1899-12-29 06:00).
    const double whole = std::trunc(days);
    std::int64_t day = std::int64_t(whole);
    auto seconds = std::int64_t(std::llround(std::fabs(days - whole) * 86400.0));
    if (seconds >= 86400) { // rounded up to the next midnight
        seconds -= 86400;
        ++day;
    }
    std::int64_t year = 0;
    int month = 0, dayOfMonth = 0;
    civilFromDays(day + DaysTo1899_12_30, year, month, dayOfMonth);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d:%02d", static_cast<long long>(year), month,
                  dayOfMonth, int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60));
    return text;
}

std::string guidText(const unsigned char *at)
{
    // Three numbers stored little-endian, then eight bytes as they stand.
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", littleEndian32(at),
                  littleEndian16(at + 4), littleEndian16(at + 6), at[8], at[9], at[10], at[11], at[12], at[13],
                  at[14], at[15]);
    return text;
}

struct JetFile::Impl {
    MdbHandle *mdb = nullptr;
    std::unique_ptr<JetText> text;
    void *mapped = MAP_FAILED;
    std::size_t size = 0;
    std::size_t pages = 0;
    bool ace = false;

    ~Impl()
    {
        if (mdb)
            mdb_close(mdb);
        if (mapped != MAP_FAILED)
            munmap(mapped, size);
    }

    const unsigned char *page() const { return mdb->pg_buf; }
    long pageSize() const { return long(mdb->fmt->pg_size); }

    const unsigned char *pageAt(std::size_t number) const;
    void load(std::size_t number);
    std::string definition(std::size_t first) const;
    std::vector<std::uint32_t> usedPages(const unsigned char *map, std::size_t size) const;
    std::set<int> calculatedColumns(const std::string &definition, const MdbTableDef &table) const;
    void checkPagesInUse() const;
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
    // libmdb fills a last page cut short with zeros and reads on: a file
    // that is no whole number of pages was cut short.
    const auto *head = static_cast<const unsigned char *>(impl_->mapped);
    if (impl_->size >= 0x15 && (std::memcmp(head + 4, "Standard Jet DB", 16) == 0 ||
                                std::memcmp(head + 4, "Standard ACE DB", 16) == 0)) {
        const std::size_t pageSize = head[0x14] == MDB_VER_JET3 ? 2048 : 4096;
        if (impl_->size % pageSize != 0)
            throw JetCutShort("the file ends in the middle of a page");
    }
    impl_->mdb = mdb_open_buffer(impl_->mapped, impl_->size, MDB_NOFLAGS);
    if (!impl_->mdb)
        throw NotJet("libmdb cannot open the file");
    if (impl_->size % std::size_t(impl_->pageSize()) != 0)
        throw JetCutShort("the file ends in the middle of a page");
    impl_->pages = impl_->size / std::size_t(impl_->pageSize());
    impl_->ace = impl_->mdb->f->jet_version >= MDB_VER_ACCDB_2007;
    impl_->text = std::make_unique<JetText>(impl_->mdb);
    if (!impl_->text->ready())
        throw NotJet("no converter for the file's text");
}

JetFile::~JetFile() = default;

void JetFile::readTables(TableSink &sink)
{
    MdbHandle *mdb = impl_->mdb;
    impl_->checkPagesInUse();
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

// The page `number` as the file holds it.
const unsigned char *JetFile::Impl::pageAt(std::size_t number) const
{
    if (number >= pages)
        throw JetCutShort("a page it needs lies past its end");
    return static_cast<const unsigned char *>(mapped) + number * std::size_t(pageSize());
}

// The first row of page 1 maps the pages of the file that are free: a page
// in use beyond the file's end means the file was cut short, whether or not
// a table needs it (an index, a long value no row holds any more).
void JetFile::Impl::checkPagesInUse() const
{
    const unsigned char *at = pageAt(1);
    const int offsets = mdb->fmt->row_count_offset;
    if (at[0] != PageData || littleEndian16(at + offsets) < 1)
        throw JetDamaged("the map of free pages is missing");
    const std::size_t begin = std::size_t(littleEndian16(at + offsets + 2)) & RowOffsetMask;
    const std::size_t end = std::size_t(pageSize());
    if (begin + 5 > end)
        throw JetDamaged("the map of free pages is missing");
    const unsigned char *map = at + begin;
    // Pages from `base` on in a bitmap of `bytes`; a set bit is a free page.
    const auto noneInUsePast = [&](const unsigned char *bitmap, std::size_t bytes, std::size_t base) {
        for (std::size_t number = std::max(base, pages); number < base + bytes * 8; ++number)
            if (!(bitmap[(number - base) / 8] & (1 << ((number - base) % 8))))
                throw JetCutShort("a page in use lies past its end");
    };
    // Access also writes the inline kind under the mark of the other (its
    // words then are no page numbers, which take three bytes).
    const std::size_t words = (end - begin - 1) / 4;
    bool pageNumbers = map[0] == 1;
    for (std::size_t i = 0; pageNumbers && i < words; ++i)
        pageNumbers = littleEndian32(map + 1 + 4 * i) < (1u << 24);
    if (pageNumbers) {
        const std::size_t perMap = (end - 4) * 8;
        for (std::size_t i = 0; i < words; ++i)
            if (const std::uint32_t number = littleEndian32(map + 1 + 4 * i))
                noneInUsePast(pageAt(number) + 4, end - 4, i * perMap);
    } else if (map[0] <= 1) {
        noneInUsePast(map + 5, end - begin - 5, littleEndian32(map + 1));
    } else {
        throw JetDamaged("the map of free pages is of no known kind");
    }
}

// Makes page `number` libmdb's current page.
void JetFile::Impl::load(std::size_t number)
{
    pageAt(number);
    if (mdb_read_pg(mdb, number) != pageSize())
        throw JetDamaged("a page cannot be read");
}

// A table's definition: its first page, then the rest of each further page
// of its chain.
std::string JetFile::Impl::definition(std::size_t first) const
{
    std::string bytes;
    std::size_t number = first;
    for (std::size_t hops = 0; number != 0; ++hops) {
        const unsigned char *at = pageAt(number);
        if (at[0] != PageDefinition || hops == pages)
            throw JetDamaged("a table definition is not where the catalogue says");
        bytes.append(reinterpret_cast<const char *>(at) + (hops ? 8 : 0), std::size_t(pageSize()) - (hops ? 8 : 0));
        number = littleEndian32(at + 4);
    }
    return bytes;
}

// The pages a usage map lists, in its order: either a first page and a
// bitmap of the pages from there on, or the numbers of map pages whose
// bitmaps each cover the next stretch of the file.
std::vector<std::uint32_t> JetFile::Impl::usedPages(const unsigned char *map, std::size_t size) const
{
    std::vector<std::uint32_t> listed;
    const auto bits = [&](const unsigned char *bitmap, std::size_t bytes, std::uint64_t base) {
        for (std::size_t i = 0; i < bytes; ++i)
            for (int bit = 0; bit < 8; ++bit)
                if (bitmap[i] & (1 << bit)) {
                    const std::uint64_t number = base + i * 8 + std::size_t(bit);
                    pageAt(number);
                    listed.push_back(std::uint32_t(number));
                }
    };
    if (size >= 5 && map[0] == 0) {
        bits(map + 5, size - 5, littleEndian32(map + 1));
    } else if (size >= 1 && map[0] == 1) {
        const std::size_t perMap = (std::size_t(pageSize()) - 4) * 8;
        for (std::size_t i = 0; 1 + 4 * i + 4 <= size; ++i) {
            const std::uint32_t number = littleEndian32(map + 1 + 4 * i);
            if (number == 0)
                continue;
            const unsigned char *bitmap = pageAt(number);
            if (bitmap[0] != PageUsageMap)
                throw JetDamaged("a usage map's page is of another kind");
            bits(bitmap + 4, std::size_t(pageSize()) - 4, std::uint64_t(i) * perMap);
        }
    } else {
        throw JetDamaged("a usage map of no known kind");
    }
    return listed;
}

// The numbers (MdbColumn::col_num) of the table's calculated columns.
std::set<int> JetFile::Impl::calculatedColumns(const std::string &definition, const MdbTableDef &table) const
{
    std::set<int> numbers;
    if (!ace)
        return numbers;
    const MdbFormatConstants &format = *mdb->fmt;
    const std::size_t first = format.tab_cols_start_offset + table.num_real_idxs * format.tab_ridx_entry_size;
    for (unsigned c = 0; c < table.num_cols; ++c) {
        const std::size_t at = first + c * format.tab_col_entry_size;
        if (at + format.tab_col_entry_size > definition.size())
            throw JetDamaged("a table definition ends before its columns");
        const auto *column = reinterpret_cast<const unsigned char *>(definition.data()) + at;
        if (column[ColumnExtraFlags] & ColumnCalculated)
            numbers.insert(int(littleEndian16(column + format.col_num_offset)));
    }
    return numbers;
}

// Reads the table whole; without a sink only its rows are counted.
void JetFile::Impl::readTable(MdbCatalogEntry *entry, TableSink *sink)
{
    // libmdb reads a definition or usage map past the file's end as zeros,
    // or not at all, and says nothing: every page the table needs is looked
    // for first.
    const std::string described = definition(entry->table_pg);
    for (const std::size_t map : {mdb->fmt->tab_usage_map_offset, mdb->fmt->tab_free_map_offset})
        if (map + 4 <= described.size())
            pageAt(littleEndian32(reinterpret_cast<const unsigned char *>(described.data()) + map) >> 8);

    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)> table(mdb_read_table(entry), mdb_free_tabledef);
    if (!table || !mdb_read_columns(table.get()) || table->num_cols == 0 ||
        table->columns->len != table->num_cols || !table->usage_map)
        throw JetDamaged("a table definition cannot be read");

    // The columns copied, and for each of the table's its place among them
    // (-1: left out, as no value of it would be right).
    const std::set<int> calculated = calculatedColumns(described, *table);
    std::vector<MdbColumn *> columns;
    std::vector<Column> copied;
    std::vector<int> place(table->num_cols, -1);
    std::set<std::string> names; // Jet's names are unique, letter case aside
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
        const std::string name = text->name(column->name);
        if (name.empty() || !names.insert(folded(name)).second)
            throw JetDamaged("a table definition names a column twice or not at all");
        if (kindOf(column->col_type) == Kind::Null || calculated.count(column->col_num))
            continue;
        place[c] = int(copied.size());
        columns.push_back(column);
        copied.push_back({name, kindOf(column->col_type)});
    }
    if (copied.empty())
        sink = nullptr; // a table of nothing that can be read is read, not copied
    if (sink)
        sink->beginTable(text->name(table->name), copied);

    // The data pages in the order the table's usage map lists them, and the
    // rows of each page in their order there: the table's stored order.
    std::vector<MdbField> fields(table->num_cols);
    std::vector<Value> values(copied.size());
    const std::vector<std::uint32_t> listed = usedPages(table->usage_map, table->map_sz);
    const int offsets = mdb->fmt->row_count_offset;
    unsigned long rows = 0;
    for (const std::uint32_t number : listed) {
        const unsigned char *bytes = pageAt(number);
        if (bytes[0] != PageData || littleEndian32(bytes + 4) != entry->table_pg)
            continue; // a page the table has given up
        load(number);
        const int count = mdb_get_int16(mdb->pg_buf, offsets);
        for (int r = 0; r < count; ++r) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, r, &start, &size) != 0 || size == 0 || (start & RowElsewhere))
                continue;
            // A moved row is read from where it went, then the page taken up again.
            bool moved = false;
            for (int hops = 0; start & RowPointer; ++hops) {
                const int at = start & RowOffsetMask;
                if (size < 4 || hops == MaxPointerHops)
                    throw JetDamaged("a moved row cannot be found");
                const int row = mdb->pg_buf[at];
                const std::uint32_t target = littleEndian32(mdb->pg_buf + at) >> 8;
                const unsigned char *there = pageAt(target);
                if (there[0] != PageData || littleEndian32(there + 4) != entry->table_pg)
                    throw JetDamaged("a moved row points to a page of another table");
                load(target);
                moved = true;
                // There lies the row itself (RowElsewhere) or the next pointer.
                const int flags = row < mdb_get_int16(mdb->pg_buf, offsets) &&
                                          mdb_find_row(mdb, row, &start, &size) == 0 && size > 0
                                      ? start & (RowElsewhere | RowPointer)
                                      : 0;
                if (flags != RowElsewhere && flags != RowPointer)
                    throw JetDamaged("a moved row is not where its old place points");
            }
            start &= RowOffsetMask;
            if (mdb_crack_row(table.get(), start, size, fields.data()) < 0)
                throw JetDamaged("a row cannot be taken apart");
            ++rows;
            if (sink) {
                for (unsigned c = 0; c < table->num_cols; ++c) {
                    const MdbField &field = fields[c];
                    if (field.colnum < 0 || unsigned(field.colnum) >= table->num_cols)
                        throw JetDamaged("a value of no column");
                    const int to = place[unsigned(field.colnum)];
                    if (to >= 0)
                        values[unsigned(to)] = value(columns[unsigned(to)], field);
                }
                sink->row(values);
            }
            if (moved)
                load(number);
        }
    }
    // Access leaves tables whose pages hold more rows than the definition
    // counts, and reads them all; fewer mean rows were lost.
    if (rows < table->num_rows)
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
    case MDB_LONGINT: v.integer = static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, field.start)); break;
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
    case MDB_REPID: v.bytes = guidText(at); break;
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
    const std::uint32_t row = pageRow & 0xFF;
    if (page == 0)
        throw JetDamaged("a long value's page is not in the file");
    const unsigned char *bytes = pageAt(page);
    const int offsets = mdb->fmt->row_count_offset;
    if (bytes[0] != PageData || std::memcmp(bytes + 4, "LVAL", 4) != 0 || row >= littleEndian16(bytes + offsets))
        throw JetDamaged("a long value's row is not where its head says");
    const std::uint32_t begin = littleEndian16(bytes + offsets + 2 + row * 2) & RowOffsetMask;
    const auto pageEnd = std::uint32_t(pageSize());
    const std::uint32_t end = row == 0 ? pageEnd : littleEndian16(bytes + offsets + row * 2) & RowOffsetMask;
    if (begin > end || end > pageEnd)
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
