#pragma once

#include "fieldchange.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kt63 {

class DataImage;

// Bytes `first` to `last` (both included) of a file.
struct ByteRange
{
    int64_t first;
    int64_t last;

    bool operator==(const ByteRange&) const = default;
};

struct TableDiff
{
    std::vector<FieldChange> changes;  // table by table, row by row, in column order
    std::vector<ByteRange> strayBytes; // differing bytes that belong to no field

    bool empty() const { return changes.empty() && strayBytes.empty(); }
};

// Compares every field of every row of the three tables, then every byte that no field owns;
// a byte that only the longer file has counts as differing.
TableDiff DiffImages(const DataImage& a, const DataImage& b);

// One line per change ("weapon 17 Speed 12 -> 15"), then one per range of stray bytes
// ("bytes 100 to 103 differ outside the fields", "byte 7 differs ...").
std::string FormatDiff(const TableDiff& diff);

} // namespace kt63
