#pragma once

#include "tablelayout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kt63 {

class TStream;
class TFileStream;

// The bytes of a data file in memory, at their file offsets. Reading the tables whole and
// decoding from memory keeps a dump of every record to a few system calls.
class DataImage
{
public:
    explicit DataImage(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)) {}

    // The stored value of `column` in row `key`: the bytes as they are, little-endian, unsigned
    // except for a 4-byte field. Level, Appearance and Theatre give the stored byte.
    int64_t Value(TableId table, const RowKey& key, const Column& column) const;

    // The stored value that a load of the field into the editor's window and an immediate save
    // leave: the same as Value unless the window shows the field narrower than it is stored.
    int64_t ValueAfterSave(TableId table, const RowKey& key, const Column& column) const;

    const std::vector<uint8_t>& bytes() const { return mBytes; }

private:
    const uint8_t* At(TableId table, const RowKey& key, const Column& column) const;

    std::vector<uint8_t> mBytes;
};

// Opens a data file only to read it, leaving every other opener free (the editor may hold it).
// Throws EFOpenError, or EFTooShortError when it ends before the weapon table does.
std::unique_ptr<TFileStream> OpenForReading(const std::string& path);

// Reads the armament table and the weapon table, one read each; the bytes in between are left
// zero. The stream must reach the end of the weapon table.
DataImage ReadTables(TStream& file);

// Reads the whole file in one read.
DataImage ReadWholeFile(TStream& file);

} // namespace kt63
