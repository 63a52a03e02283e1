#pragma once

#include "tablelayout.h"

#include <cstdint>
#include <string>

namespace kt63 {

// One field of one row whose stored value goes from `oldValue` to `newValue`.
struct FieldChange
{
    TableId table;
    RowKey key;
    int32_t column; // index into the table's columns
    int64_t oldValue;
    int64_t newValue;
    std::string source; // where a patch stated it ("edit.csv row 5"); empty for a diff

    bool operator==(const FieldChange&) const = default;
};

// The field as a reader names it: "weapon 17 Speed", "weapon 5 slot 3 Ammunition[2]",
// "armament 4/2 AttackAir".
std::string DescribeField(const FieldChange& change);

// The field with both values: "weapon 17 Speed 12 -> 15".
std::string DescribeChange(const FieldChange& change);

} // namespace kt63
