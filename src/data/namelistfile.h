#pragma once

#include "tstream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kt63 {

// What the editor keeps of the weapon name list file ("WN.dat") after reading it at start.
struct NameListFile
{
    std::string path;          // UniversalPath of the path read, at the read
    int32_t namesAreaSize = 0; // file size minus 2: where the list number is written at exit
    int16_t listNumber = 0;    // the last two bytes, signed little-endian
    FileIdentity identity;     // which file was read, so that Exit writes into no other
    std::vector<uint8_t> namesArea;
};

// Reads the file at `path` (exclusive, read only): its names area and its list number. A file
// of fewer than 2 bytes has no names and list number 0, and nothing is written to it at exit.
// Throws EFOpenError naming `path` as given when it cannot be opened, EReadError when a read
// fails or falls short.
NameListFile ReadNameListFile(const std::string& path);

// Writes the low 16 bits of `value`, little-endian, at `namesAreaSize` of the file at `path`
// (exclusive, write only) and syncs them to the storage; every other byte stays. Other programs
// may have changed the file since it was read, so it must still be the file read (`identity`)
// and still have its length then (`namesAreaSize` + 2), or nothing is written and
// EFChangedError says what happened. Throws EFOpenError when it cannot be opened and
// EWriteError when the seek, the write or the sync fails.
void WriteListNumber(const std::string& path, int32_t namesAreaSize, const FileIdentity& identity,
                     int32_t value);

} // namespace kt63
