#include "clitestfiles.h"
#include "commands.h"
#include "exception.h"
#include "tfilestream.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace kt63 {
namespace {

using test::Bytes;
using test::HandField;

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = text.find(separator, from)) != std::string::npos;
         from = at + separator.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

struct TableRow
{
    const char* name;
    const char* table;
    std::vector<std::string> keys;
    const std::vector<HandField>& (*layout)();
    int32_t rows;
    int32_t (*rowOffset)(int32_t index);
};

int32_t WeaponRowAt(int32_t index)
{
    return test::WeaponAt(index + 1, 0);
}
int32_t SlotRowAt(int32_t index)
{
    return test::SlotAt(index / 6 + 1, index % 6, 0);
}
int32_t ArmamentRowAt(int32_t index)
{
    return test::ArmamentAt(index / 8, index % 8, 0);
}

class DumpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bytes = test::RandomBytes(test::DataFileSize, 21);
        // Values the window would clamp or show differently; the dump shows them as stored.
        test::Put(bytes, test::WeaponAt(1, 96), 1, 0);            // Level: no level
        test::Put(bytes, test::WeaponAt(1, 64), 4, 0xFFFFFFFF);   // CanBeCarried
        test::Put(bytes, test::WeaponAt(1, 56), 2, 65535);        // Fuel
        test::Put(bytes, test::WeaponAt(1, 125), 1, 0);           // Month
        test::Put(bytes, test::WeaponAt(2, 64), 4, 0x7FFFFFFF);   // CanBeCarried
        test::Put(bytes, test::SlotAt(1921, 5, 32), 1, 0xAB);     // the last ammunition cell
        test::Put(bytes, test::ArmamentAt(1920, 7, 80), 1, 0xCD); // the last armament field
        test::WriteBytes(data, bytes);
    }

    std::string Dump(const std::string& table, const std::string& format)
    {
        std::ostringstream out;
        EXPECT_EQ(RunDump({data, {}, format, {}, table}, out), ExitSame);
        return out.str();
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    Bytes bytes;
};

class DumpTables : public DumpTest, public ::testing::WithParamInterface<TableRow>
{
};

TEST_P(DumpTables, CsvHasTheHeaderAndEveryStoredValue)
{
    const TableRow& row = GetParam();
    const std::vector<std::string> lines = Split(Dump(row.table, "csv"), "\r\n");
    ASSERT_EQ(lines.size(), static_cast<size_t>(row.rows) + 2) << "header, rows, final line end";
    EXPECT_EQ(lines.back(), "");
    std::vector<std::string> header = row.keys;
    for (const HandField& field : row.layout())
        header.push_back(field.name);
    EXPECT_EQ(Split(lines[0], ","), header);
    for (int32_t index = 0; index < row.rows; ++index) {
        const std::vector<std::string> cells = Split(lines[static_cast<size_t>(index) + 1], ",");
        ASSERT_EQ(cells.size(), header.size()) << "row " << index;
        for (size_t i = 0; i < row.layout().size(); ++i)
            ASSERT_EQ(cells[row.keys.size() + i],
                      std::to_string(test::Stored(bytes, row.rowOffset(index), row.layout()[i])))
                << row.table << " row " << index << " " << row.layout()[i].name;
    }
}

TEST_P(DumpTables, JsonHoldsTheSameRowsAsObjects)
{
    const TableRow& row = GetParam();
    const nlohmann::json document = nlohmann::json::parse(Dump(row.table, "json"));
    ASSERT_EQ(document.size(), 1u);
    const nlohmann::json& rows = document.at(row.table);
    ASSERT_EQ(rows.size(), static_cast<size_t>(row.rows));
    for (int32_t index = 0; index < row.rows; ++index) {
        const nlohmann::json& object = rows[static_cast<size_t>(index)];
        ASSERT_EQ(object.size(), row.keys.size() + row.layout().size());
        for (const HandField& field : row.layout())
            ASSERT_EQ(object.at(field.name).get<int64_t>(),
                      test::Stored(bytes, row.rowOffset(index), field))
                << row.table << " row " << index << " " << field.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DumpTables,
    ::testing::Values(
        TableRow{"weapons", "weapons", {"Weapon"}, test::WeaponLayout, 1921, WeaponRowAt},
        TableRow{"slots", "slots", {"Weapon", "Slot"}, test::SlotLayout, 11526, SlotRowAt},
        TableRow{"armaments",
                 "armaments",
                 {"Armament", "Tab"},
                 test::ArmamentLayout,
                 15368,
                 ArmamentRowAt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DumpTest, ValuesStayAsStoredAndRowsCarryTheirKeys)
{
    const std::vector<std::string> weapons = Split(Dump("weapons", "csv"), "\r\n");
    const std::vector<std::string> first = Split(weapons[1], ",");
    EXPECT_EQ(first[0], "1");
    EXPECT_EQ(first[1 + 8], "65535") << "Fuel";
    EXPECT_EQ(first[1 + 9], "-1") << "CanBeCarried";
    EXPECT_EQ(first[1 + 17], "0") << "Level as the stored byte";
    EXPECT_EQ(first[1 + 23], "0") << "Month";
    EXPECT_EQ(Split(weapons[2], ",")[1 + 9], "2147483647");
    EXPECT_EQ(Split(weapons[1921], ",")[0], "1921");
    const std::vector<std::string> slots = Split(Dump("slots", "csv"), "\r\n");
    EXPECT_EQ(slots[11526].substr(0, 7), "1921,5,");
    EXPECT_EQ(Split(slots[11526], ",").back(), "171");
    const std::vector<std::string> armaments = Split(Dump("armaments", "csv"), "\r\n");
    EXPECT_EQ(armaments[1].substr(0, 4), "0,0,");
    EXPECT_EQ(armaments[15368].substr(0, 7), "1920,7,");
    EXPECT_EQ(Split(armaments[15368], ",").back(), "205");
}

TEST_F(DumpTest, AllTablesGoIntoThreeFilesOfTheFolder)
{
    std::ostringstream console;
    EXPECT_EQ(RunDump({data, {}, "csv", dir.path("out"), {}}, console), ExitSame);
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(test::ReadText(dir.path("out/weapons.csv")), Dump("weapons", "csv"));
    EXPECT_EQ(test::ReadText(dir.path("out/slots.csv")), Dump("slots", "csv"));
    EXPECT_EQ(test::ReadText(dir.path("out/armaments.csv")), Dump("armaments", "csv"));
}

TEST_F(DumpTest, JsonOfAllTablesHoldsThemInOrder)
{
    std::ostringstream console;
    EXPECT_EQ(RunDump({data, {}, "json", dir.path("all.json"), {}}, console), ExitSame);
    const auto document = nlohmann::ordered_json::parse(test::ReadText(dir.path("all.json")));
    std::vector<std::string> keys;
    for (const auto& [key, value] : document.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"weapons", "slots", "armaments"}));
}

TEST_F(DumpTest, WorksWhileTheEditorHoldsTheFile)
{
    TFileStream editor(data, fmOpenReadWrite | fmShareDenyWrite);
    EXPECT_EQ(Split(Dump("weapons", "csv"), "\r\n").size(), 1923u);
}

struct RefusalRow
{
    const char* name;
    size_t size; // 0 for no file at all
    const char* message;
};

class DumpRefusal : public ::testing::TestWithParam<RefusalRow>
{
};

TEST_P(DumpRefusal, GivesTheEditorsMessage)
{
    test::TempDir dir;
    const std::string data = dir.path("Qelvint.dll");
    if (GetParam().size > 0)
        test::WriteBytes(data, Bytes(GetParam().size, 0));
    std::ostringstream out;
    try {
        RunDump({data, {}, "csv", dir.path("out"), {}}, out);
        FAIL() << "dumped";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + data + GetParam().message);
    }
    EXPECT_FALSE(test::Exists(dir.path("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DumpRefusal,
    ::testing::Values(RefusalRow{"missing", 0, " は開けません"},
                      RefusalRow{"one_byte_short", test::DataFileSize - 1, " は短すぎます"},
                      RefusalRow{"weapon_table_cut", 1550172, " は短すぎます"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
