#pragma once

// One Jet database file (Access 97 to 2003, and the .accdb files of Access
// 2007 and later), read through libmdb: its user tables, each whole and in
// stored order, every value as the file holds it. A file that contradicts
// itself (fewer rows than its table definition counts, a long value shorter
// or longer than its length, a value outside its page, a moved row not
// where its old place points) is damaged: reading stops with JetDamaged and
// nothing is handed on as if it were whole. So is a file cut short (no
// whole number of pages, or a page that a table needs past its end):
// JetCutShort. A column of a type no value is converted for (attachments,
// multi-value and calculated fields) is left out.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace rt::jet {

enum class Kind { Null, Integer, Real, Text, Blob };

struct Value {
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes; // Text: UTF-8 (see jet_text.h); Blob: the bytes
};

struct Column {
    std::string name; // UTF-8
    Kind kind;        // of its values when not Null
};

// Where the tables go, one after the other.
class TableSink {
public:
    virtual ~TableSink() = default;
    virtual void beginTable(const std::string &name, const std::vector<Column> &columns) = 0;
    virtual void row(const std::vector<Value> &values) = 0;
    virtual void endTable() = 0;
};

class NotJet : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class JetDamaged : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class JetCutShort : public JetDamaged {
    using JetDamaged::JetDamaged;
};

// A Date/Time value (days since 1899-12-30, the time of day in the
// fraction) as "YYYY-MM-DD HH:MM:SS" to the nearest second, in the
// proleptic Gregorian calendar. JetDamaged outside the years 100 to 9999.
std::string dateText(double days);

// A Replication ID's 16 stored bytes as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::string guidText(const unsigned char *stored);

class JetFile {
public:
    // Opens the file read-only. NotJet when libmdb cannot open it.
    explicit JetFile(const std::string &path);
    ~JetFile();
    JetFile(const JetFile &) = delete;
    JetFile &operator=(const JetFile &) = delete;

    // Every user table in catalogue order. JetDamaged as above.
    void readTables(TableSink &sink);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace rt::jet
