#pragma once

// Text of a Jet file as the program's SQLite files hold it: the UTF-8 of
// the legacy bytes read as their Windows-1252 characters.
//
// Jet 4 stores text as UCS-2 (plain or compressed) of exactly those
// characters, which is turned into UTF-8 as it stands. Jet 3 stores the
// bytes themselves, which go through the program's own Windows-1252 table
// (it keeps the five bytes Windows leaves undefined). libmdb converts the
// names of tables and columns itself: its converters are set so that it
// reads Jet 3 bytes one for one (as Latin-1, which has a character for every
// byte), and the result is mapped the same way. Nothing depends on the
// environment (MDB_ICONV, MDB_JET3_CHARSET) or on the code page the file
// names.

#include <glib.h> // before mdbtools.h, which would include it inside extern "C"
#include <mdbtools.h>

#include <string>
#include <string_view>

namespace rt::jet {

class JetText {
public:
    // Sets the handle's converters for its file's version.
    explicit JetText(MdbHandle *mdb);

    // False when the converters could not be set up.
    bool ready() const { return ready_; }
    bool jet3() const { return jet3_; }

    // The UTF-8 of `size` stored bytes of text. False when they end in the
    // middle of a character.
    bool utf8(const void *stored, std::size_t size, std::string &out);

    // A name from libmdb's catalogue (already converted by the same
    // converters) in the same UTF-8.
    std::string name(std::string_view converted) const;

private:
    MdbHandle *mdb_;
    bool jet3_ = false;
    bool ready_ = false;
};

// The UTF-8 of text whose characters are all below U+0100, read as the bytes
// of their code points and mapped through the Windows-1252 table.
std::string latin1ToWindows1252(std::string_view latin1Utf8);

} // namespace rt::jet
