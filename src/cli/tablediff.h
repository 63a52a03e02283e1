#pragma once

#include "fieldchange.h"

#include <cstdint>
#include <functional>
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

// The fields of DiffImages, each handed to `onChange` as it is found, so that a diff of every
// field is written as it goes rather than held.
void DiffFields(const DataImage& a, const DataImage& b,
                const std::function<void(const FieldChange&)>& onChange);

// The ranges of stray bytes of DiffImages, the same way.
void DiffStrayBytes(const DataImage& a, const DataImage& b,
                    const std::function<void(const ByteRange&)>& onRange);

// A range of stray bytes as FormatDiff writes it, with its line end.
std::string DescribeStrayBytes(const ByteRange& range);

// One line per change ("weapon 17 Speed 12 -> 15"), then one per range of stray bytes
// ("bytes 100 to 103 differ outside the fields", "byte 7 differs ...").
std::string FormatDiff(const TableDiff& diff);

} // namespace kt63
