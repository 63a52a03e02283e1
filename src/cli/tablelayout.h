#pragma once

#include "recordfields.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kt63 {

// The three tables a dump writes and a patch names: one row per weapon, per weapon slot and per
// armament entry.
enum class TableId : uint8_t { Weapons, Slots, Armaments };

// One value of a row: where its bytes lie from the row's first byte, how wide they are, how the
// editor loads them and the range its window shows them in.
struct Column
{
    std::string name; // the field's name in the code, "Ammunition[t]" for an ammunition cell
    int32_t offset;
    int32_t width; // 1, 2 or 4 bytes
    Conversion conversion;
    ShownRange shown;

    // A 4-byte field is read as a signed 32-bit number.
    bool isSigned() const { return conversion == Conversion::Signed32; }
};

// A row is named by two numbers: weapon and 0 (weapons), weapon and slot (slots), armament
// group and tab (armaments).
struct RowKey
{
    int32_t first;
    int32_t second;

    bool operator==(const RowKey&) const = default;
};

struct TableLayout
{
    TableId id;
    std::string name;                  // "weapons", "slots", "armaments"
    std::vector<std::string> keyNames; // the key columns of a dump, in order
    std::vector<Column> columns;
    int32_t rowCount;
};

// The table's layout, built once from the data library's field table.
const TableLayout& Table(TableId id);

// Gives the table named `name` ("weapons", ...), or nullptr for any other name.
const TableLayout* FindTable(const std::string& name);

// Row `index` (0 to rowCount - 1) of `table` and back; KeyIsValid tells whether a key names a
// row of the table at all.
RowKey KeyOfRow(TableId table, int32_t index);
int32_t RowOfKey(TableId table, const RowKey& key);
bool KeyIsValid(TableId table, const RowKey& key);

// The absolute offset of the row's first byte in the data file.
int32_t RowOffset(TableId table, const RowKey& key);

// Gives the index of the column called `name`, or -1.
int32_t FindColumn(const TableLayout& table, const std::string& name);

// The range a stored value of `column` can take: 0 to 255 or 65535, or the signed 32-bit range.
int64_t LowestValue(const Column& column);
int64_t HighestValue(const Column& column);

} // namespace kt63
