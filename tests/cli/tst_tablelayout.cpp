#include "clitestfiles.h"
#include "tablelayout.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

struct ColumnRow
{
    const char* name;
    TableId table;
    const char* column;
    int32_t offset;
    int32_t width;
    int64_t highest;
};

class Columns : public ::testing::TestWithParam<ColumnRow>
{
};

TEST_P(Columns, LieWhereTheRecordLayoutPutsThem)
{
    const ColumnRow& row = GetParam();
    const TableLayout& table = Table(row.table);
    const int32_t index = FindColumn(table, row.column);
    ASSERT_GE(index, 0) << row.column;
    const Column& column = table.columns[static_cast<size_t>(index)];
    EXPECT_EQ(column.offset, row.offset);
    EXPECT_EQ(column.width, row.width);
    EXPECT_EQ(HighestValue(column), row.highest);
    EXPECT_EQ(LowestValue(column), row.highest == 2147483647 ? -2147483648LL : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Columns,
    ::testing::Values(ColumnRow{"first_weapon_field", TableId::Weapons, "UnitBranch", 0, 1, 255},
                      ColumnRow{"fuel", TableId::Weapons, "Fuel", 56, 2, 65535},
                      ColumnRow{"signed_cell", TableId::Weapons, "CanBeCarried", 64, 4, 2147483647},
                      ColumnRow{"level_is_a_byte", TableId::Weapons, "Level", 96, 1, 255},
                      ColumnRow{"month_before_year", TableId::Weapons, "Month", 125, 1, 255},
                      ColumnRow{"last_weapon_field", TableId::Weapons, "Theatre", 144, 1, 255},
                      ColumnRow{"equipment_kind", TableId::Slots, "EquipmentKind", 0, 1, 255},
                      ColumnRow{"first_cell", TableId::Slots, "Ammunition[0]", 4, 1, 255},
                      ColumnRow{"last_cell", TableId::Slots, "Ammunition[7]", 32, 1, 255},
                      ColumnRow{"name_number", TableId::Armaments, "NameNumber", 0, 2, 65535},
                      ColumnRow{"kind", TableId::Armaments, "ArmamentKind", 8, 2, 65535},
                      ColumnRow{"special", TableId::Armaments, "Special", 80, 1, 255}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tables, HoldEveryFieldOnceAndEveryRow)
{
    EXPECT_EQ(Table(TableId::Weapons).columns.size(), 27u);
    EXPECT_EQ(Table(TableId::Slots).columns.size(), 9u);
    EXPECT_EQ(Table(TableId::Armaments).columns.size(), 20u);
    EXPECT_EQ(Table(TableId::Weapons).rowCount, 1921);
    EXPECT_EQ(Table(TableId::Slots).rowCount, 11526);
    EXPECT_EQ(Table(TableId::Armaments).rowCount, 15368);
    EXPECT_EQ(FindColumn(Table(TableId::Slots), "Ammunition"), -1);
    EXPECT_EQ(FindTable("slots"), &Table(TableId::Slots));
    EXPECT_EQ(FindTable("weapon"), nullptr);
}

struct KeyRow
{
    const char* name;
    TableId table;
    int32_t index;
    RowKey key;
    int32_t offset;
};

class Keys : public ::testing::TestWithParam<KeyRow>
{
};

TEST_P(Keys, NumberRowsAndFindTheirBytes)
{
    const KeyRow& row = GetParam();
    EXPECT_EQ(KeyOfRow(row.table, row.index), row.key);
    EXPECT_EQ(RowOfKey(row.table, row.key), row.index);
    EXPECT_TRUE(KeyIsValid(row.table, row.key));
    EXPECT_EQ(RowOffset(row.table, row.key), row.offset);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Keys,
    ::testing::Values(
        KeyRow{"weapon_1", TableId::Weapons, 0, {1, 0}, test::WeaponAt(1, 0)},
        KeyRow{"weapon_1921", TableId::Weapons, 1920, {1921, 0}, 2264412},
        KeyRow{"weapon_2_slot_0", TableId::Slots, 6, {2, 0}, test::SlotAt(2, 0, 0)},
        KeyRow{"weapon_1921_slot_5", TableId::Slots, 11525, {1921, 5}, test::WeaponAt(1921, 328)},
        KeyRow{"group_0_tab_1", TableId::Armaments, 1, {0, 1}, 27124},
        KeyRow{"group_1920_tab_7", TableId::Armaments, 15367, {1920, 7}, 1317868}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadKeyRow
{
    const char* name;
    TableId table;
    RowKey key;
};

class BadKeys : public ::testing::TestWithParam<BadKeyRow>
{
};

TEST_P(BadKeys, NameNoRow)
{
    EXPECT_FALSE(KeyIsValid(GetParam().table, GetParam().key));
}

INSTANTIATE_TEST_SUITE_P(Rows, BadKeys,
                         ::testing::Values(BadKeyRow{"weapon_0", TableId::Weapons, {0, 0}},
                                           BadKeyRow{"weapon_1922", TableId::Weapons, {1922, 0}},
                                           BadKeyRow{
                                               "weapon_with_a_slot", TableId::Weapons, {5, 1}},
                                           BadKeyRow{"slot_6", TableId::Slots, {1, 6}},
                                           BadKeyRow{"slot_minus_1", TableId::Slots, {1, -1}},
                                           BadKeyRow{"slot_of_weapon_0", TableId::Slots, {0, 0}},
                                           BadKeyRow{"group_1921", TableId::Armaments, {1921, 0}},
                                           BadKeyRow{"group_minus_1", TableId::Armaments, {-1, 0}},
                                           BadKeyRow{"tab_8", TableId::Armaments, {0, 8}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
