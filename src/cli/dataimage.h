#pragma once

#include "helddatafile.h"
#include "tablelayout.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kt63 {

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

// Where the tables lie in the file: the armament table, then the weapon table.
std::array<ByteSpan, 2> TableSpans();

// Reads the armament table and the weapon table, one read each; the bytes in between are left
// zero.
DataImage ReadTables(HeldDataFile& file);

// The largest file compared whole: far beyond any data file the game ships, and both files of a
// diff are held in memory at once.
inline constexpr int64_t WholeFileLimit = int64_t{1} << 30;

// Reads the whole file in one read. Throws ETableFileError naming it when it is longer than
// WholeFileLimit.
DataImage ReadWholeFile(HeldDataFile& file);

} // namespace kt63
