#pragma once

// One Jet database file (Access 97 to 2003), read through libmdb: its user
// tables, each whole and in stored order, every value as the file holds it.
// A file that contradicts itself (fewer or more rows than its table
// definition counts, a long value shorter or longer than its length, a
// value outside its page) is damaged: reading stops with JetDamaged and
// nothing is handed on as if it were whole.

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
    Kind kind;        // of its values when not Null; Null for a type nothing reads
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
