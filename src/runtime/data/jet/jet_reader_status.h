#pragma once

// How velumir-jet-reader ends, shared by the reader and the data layer that
// runs it. Every other end (a signal, a time limit) means the file could not
// be read.

namespace rt::jet {

enum ReaderStatus : int {
    ReaderCopied = 0,      // every table copied whole
    ReaderUsage = 1,       // called with the wrong arguments
    ReaderNotJet = 2,      // the file is no Jet database libmdb can open
    ReaderDamaged = 3,     // the file is damaged: rows or long values missing or out of place
    ReaderCannotWrite = 4, // the copy could not be written
    ReaderCutShort = 5,    // the file ends before its last page, or before a page it needs
};

} // namespace rt::jet
