#include "tablelayout.h"

#include "datalayout.h"

#include <limits>

namespace kt63 {

namespace {

template <class Field> Column ColumnOf(const Field& field)
{
    return {std::string(field.name), field.offset, field.width, field.conversion, field.shown};
}

TableLayout WeaponTable()
{
    TableLayout table{TableId::Weapons, "weapons", {"Weapon"}, {}, WeaponCount};
    for (const WeaponField& field : WeaponFields)
        table.columns.push_back(ColumnOf(field));
    return table;
}

// The slot entry holds the equipment kind and one ammunition cell per armament tab; the field
// table gives the cell's layout once, and the dump shows every tab's cell.
TableLayout SlotTable()
{
    TableLayout table{TableId::Slots, "slots", {"Weapon", "Slot"}, {}, WeaponCount * SlotCount};
    for (const ArmamentField& field : ArmamentFields) {
        if (field.region == Region::SlotEntry)
            table.columns.push_back(ColumnOf(field));
        if (field.region != Region::AmmunitionCell)
            continue;
        for (int32_t tab = 0; tab < ArmamentTabCount; ++tab) {
            Column cell = ColumnOf(field);
            cell.name += "[" + std::to_string(tab) + "]";
            cell.offset += AmmunitionCellOffset(0, 0, tab) - SlotEntryOffset(0, 0);
            table.columns.push_back(cell);
        }
    }
    return table;
}

TableLayout ArmamentTable()
{
    TableLayout table{TableId::Armaments,
                      "armaments",
                      {"Armament", "Tab"},
                      {},
                      ArmamentGroupCount * ArmamentTabCount};
    for (const ArmamentField& field : ArmamentFields)
        if (field.region == Region::ArmamentEntry)
            table.columns.push_back(ColumnOf(field));
    return table;
}

} // namespace

const TableLayout& Table(TableId id)
{
    static const TableLayout tables[] = {WeaponTable(), SlotTable(), ArmamentTable()};
    return tables[static_cast<size_t>(id)];
}

const TableLayout* FindTable(const std::string& name)
{
    for (TableId id : {TableId::Weapons, TableId::Slots, TableId::Armaments})
        if (Table(id).name == name)
            return &Table(id);
    return nullptr;
}

RowKey KeyOfRow(TableId table, int32_t index)
{
    switch (table) {
    case TableId::Weapons:
        return {index + 1, 0};
    case TableId::Slots:
        return {index / SlotCount + 1, index % SlotCount};
    case TableId::Armaments:
        break;
    }
    return {index / ArmamentTabCount, index % ArmamentTabCount};
}

int32_t RowOfKey(TableId table, const RowKey& key)
{
    switch (table) {
    case TableId::Weapons:
        return key.first - 1;
    case TableId::Slots:
        return (key.first - 1) * SlotCount + key.second;
    case TableId::Armaments:
        break;
    }
    return key.first * ArmamentTabCount + key.second;
}

bool KeyIsValid(TableId table, const RowKey& key)
{
    switch (table) {
    case TableId::Weapons:
        return key.first >= 1 && key.first <= WeaponCount && key.second == 0;
    case TableId::Slots:
        return key.first >= 1 && key.first <= WeaponCount && key.second >= 0 &&
               key.second < SlotCount;
    case TableId::Armaments:
        break;
    }
    return key.first >= 0 && key.first < ArmamentGroupCount && key.second >= 0 &&
           key.second < ArmamentTabCount;
}

int32_t RowOffset(TableId table, const RowKey& key)
{
    switch (table) {
    case TableId::Weapons:
        return WeaponRecordOffset(key.first);
    case TableId::Slots:
        return SlotEntryOffset(key.first, key.second);
    case TableId::Armaments:
        break;
    }
    return ArmamentEntryOffset(key.first, key.second);
}

int32_t FindColumn(const TableLayout& table, const std::string& name)
{
    for (size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].name == name)
            return static_cast<int32_t>(i);
    return -1;
}

int64_t LowestValue(const Column& column)
{
    return column.isSigned() ? std::numeric_limits<int32_t>::min() : 0;
}

int64_t HighestValue(const Column& column)
{
    if (column.isSigned())
        return std::numeric_limits<int32_t>::max();
    return (int64_t{1} << (8 * column.width)) - 1;
}

} // namespace kt63
