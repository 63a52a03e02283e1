#include "clitestfiles.h"
#include "commands.h"
#include "exception.h"
#include "helddatafile.h"
#include "jsonpatch.h"
#include "tablediff.h"
#include "tfilestream.h"
#include "weaponcodec.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kt63 {
namespace {

using test::Bytes;

class DiffTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        original = test::RandomBytes(test::DataFileSize, 31);
        test::WriteBytes(a, original);
    }

    int Diff(std::string& text, bool json = false)
    {
        std::ostringstream out;
        const int status = RunDiff({a, b, json}, out);
        text = out.str();
        return status;
    }

    test::TempDir dir;
    std::string a = dir.path("a.dll");
    std::string b = dir.path("b.dll");
    Bytes original;
};

TEST_F(DiffTest, FileWithItselfPrintsNothing)
{
    std::ostringstream out;
    EXPECT_EQ(RunDiff({a, a, false}, out), ExitSame);
    EXPECT_EQ(out.str(), "");
    std::ostringstream json;
    EXPECT_EQ(RunDiff({a, a, true}, json), ExitSame);
    EXPECT_EQ(json.str(), "{\n  \"changes\": [],\n  \"strayBytes\": []\n}\n");
}

// Weapon 1, slot 2, tab 3 hold values inside the window's ranges except for a few that the
// window shows clamped; its save writes back what it shows, and only those fields change.
TEST_F(DiffTest, WindowSaveOfWeapon1ListsExactlyTheClampedFields)
{
    Bytes bytes = original;
    for (const test::HandField& field : test::WeaponLayout())
        test::Put(bytes, test::WeaponAt(1, field.offset), field.width, 1);
    test::Put(bytes, test::SlotAt(1, 2, 0), 1, 1);
    test::Put(bytes, test::SlotAt(1, 2, 16), 1, 1);
    for (const test::HandField& field : test::ArmamentLayout())
        test::Put(bytes, test::ArmamentAt(0, 3, field.offset), field.width, 1);
    test::Put(bytes, test::WeaponAt(1, 28), 1, 100);       // Speed, shown 0 to 64
    test::Put(bytes, test::WeaponAt(1, 56), 2, 65535);     // Fuel, 0 to 999
    test::Put(bytes, test::WeaponAt(1, 96), 1, 12);        // Level, item "9" at most
    test::Put(bytes, test::WeaponAt(1, 125), 1, 0);        // Month, 1 to 12
    test::Put(bytes, test::WeaponAt(1, 144), 1, 7);        // Theatre, 5 items
    test::Put(bytes, test::SlotAt(1, 2, 0), 1, 120);       // EquipmentKind, 0 to 99
    test::Put(bytes, test::ArmamentAt(0, 3, 56), 1, 150);  // Accuracy, 0 to 99
    test::Put(bytes, test::ArmamentAt(0, 3, 8), 2, 40000); // ArmamentKind: shown in full
    test::WriteBytes(a, bytes);
    test::WriteBytes(b, bytes);
    {
        HeldDataFile file(b, HeldDataFile::Access::ReadWrite);
        LoadedWeapon shown = LoadWeapon(file, 1, 2, 3);
        shown.weapon.Speed = 64;
        shown.weapon.Fuel = 999;
        shown.weapon.Level = 8;
        shown.weapon.Month = 1;
        shown.weapon.Theatre = 4;
        shown.armamentValues.EquipmentKind = 99;
        shown.armamentValues.Accuracy = 99;
        SaveWeapon(file, {1, 2, shown.armament, 3}, shown.weapon, shown.armamentValues);
    }
    std::string text;
    EXPECT_EQ(Diff(text), ExitDifferent);
    EXPECT_EQ(text, "weapon 1 Speed 100 -> 64\n"
                    "weapon 1 Fuel 65535 -> 999\n"
                    "weapon 1 Level 12 -> 9\n"
                    "weapon 1 Month 0 -> 1\n"
                    "weapon 1 Theatre 7 -> 4\n"
                    "weapon 1 slot 2 EquipmentKind 120 -> 99\n"
                    "armament 0/3 Accuracy 150 -> 99\n");
}

struct EditRow
{
    const char* name;
    std::vector<int32_t> changedBytes; // each gets its bits flipped in b
    size_t extraBytes;                 // b is this much longer
    const char* text;
};

class Edits : public DiffTest, public ::testing::WithParamInterface<EditRow>
{
};

TEST_P(Edits, AreListedAsFieldsThenStrayByteRanges)
{
    Bytes bytes = original;
    for (int32_t at : GetParam().changedBytes)
        bytes[static_cast<size_t>(at)] ^= 0xFF;
    bytes.resize(bytes.size() + GetParam().extraBytes, 0);
    test::WriteBytes(b, bytes);
    const auto value = [&](int32_t at, int32_t width) {
        return test::Stored(bytes, at, {"", 0, width});
    };
    const auto was = [&](int32_t at, int32_t width) {
        return test::Stored(original, at, {"", 0, width});
    };
    std::string expected = GetParam().text;
    // The field rows name values that the random bytes decide; fill them in.
    for (const auto& [mark, at, width] :
         {std::tuple{"<speed7>", test::WeaponAt(7, 28), 1},
          std::tuple{"<fuel3>", test::WeaponAt(3, 56), 2},
          std::tuple{"<carried1921>", test::WeaponAt(1921, 64), 4},
          std::tuple{"<ammo>", test::SlotAt(5, 3, 12), 1},
          std::tuple{"<special>", test::ArmamentAt(1920, 7, 80), 1}})
        if (const size_t at_mark = expected.find(mark); at_mark != std::string::npos)
            expected.replace(at_mark, std::string(mark).size(),
                             std::to_string(was(at, width)) + " -> " +
                                 std::to_string(value(at, width)));
    std::string text;
    EXPECT_EQ(Diff(text), ExitDifferent);
    EXPECT_EQ(text, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Edits,
    ::testing::Values(
        EditRow{"weapon_field", {test::WeaponAt(7, 28)}, 0, "weapon 7 Speed <speed7>\n"},
        EditRow{
            "high_byte_of_a_2_byte_field", {test::WeaponAt(3, 57)}, 0, "weapon 3 Fuel <fuel3>\n"},
        EditRow{"signed_field_of_the_last_weapon",
                {test::WeaponAt(1921, 67)},
                0,
                "weapon 1921 CanBeCarried <carried1921>\n"},
        EditRow{"ammunition_cell",
                {test::SlotAt(5, 3, 12)},
                0,
                "weapon 5 slot 3 Ammunition[2] <ammo>\n"},
        EditRow{"last_armament_field",
                {test::ArmamentAt(1920, 7, 80)},
                0,
                "armament 1920/7 Special <special>\n"},
        EditRow{"field_and_the_gap_after_it",
                {test::WeaponAt(7, 28), test::WeaponAt(7, 29), test::WeaponAt(7, 30)},
                0,
                "weapon 7 Speed <speed7>\n"
                "bytes 1552433 to 1552434 differ outside the fields\n"},
        EditRow{"rest_of_an_ammunition_cell",
                {test::SlotAt(5, 3, 13)},
                0,
                "byte 1551929 differs outside the fields\n"},
        EditRow{"record_0_and_the_header",
                {0, 1549800, 1549801, 1549802, 1550171},
                0,
                "byte 0 differs outside the fields\n"
                "bytes 1549800 to 1549802 differ outside the fields\n"
                "byte 1550171 differs outside the fields\n"},
        EditRow{"name_area_and_the_end_of_the_armament_table",
                {1317949, 1317950, 1317951, 1317952, 1466051},
                0,
                "bytes 1317949 to 1317952 differ outside the fields\n"
                "byte 1466051 differs outside the fields\n"},
        EditRow{"longer_file", {}, 10, "bytes 2264784 to 2264793 differ outside the fields\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DiffTest, JsonPatchReadsBackAsTheSameChanges)
{
    Bytes bytes = original;
    bytes[static_cast<size_t>(test::WeaponAt(9, 100))] ^= 0x01;
    bytes[static_cast<size_t>(test::SlotAt(1921, 5, 32))] ^= 0x80;
    bytes[static_cast<size_t>(test::ArmamentAt(17, 6, 8))] ^= 0x10;
    bytes[5] ^= 0x01;
    test::WriteBytes(b, bytes);
    std::string json;
    ASSERT_EQ(Diff(json, true), ExitDifferent);
    test::WriteText(dir.path("patch.json"), json);
    const Patch patch = ReadJsonPatch(dir.path("patch.json"));
    EXPECT_TRUE(patch.problems.empty());
    ASSERT_EQ(patch.changes.size(), 3u);
    EXPECT_EQ(DescribeChange(patch.changes[0]),
              "weapon 9 Improvement1 " +
                  std::to_string(test::Stored(original, test::WeaponAt(9, 100), {"", 0, 2})) +
                  " -> " + std::to_string(test::Stored(bytes, test::WeaponAt(9, 100), {"", 0, 2})));
    EXPECT_EQ(DescribeField(patch.changes[1]), "weapon 1921 slot 5 Ammunition[7]");
    EXPECT_EQ(DescribeField(patch.changes[2]), "armament 17/6 ArmamentKind");
    EXPECT_EQ(patch.changes[2].source.Text(), dir.path("patch.json") + " change 3");
    EXPECT_NE(json.find("\"strayBytes\": [\n    {\n      \"first\": 5,\n      \"last\": 5"),
              std::string::npos)
        << json;
}

TEST_F(DiffTest, MissingFileIsAnError)
{
    std::ostringstream out;
    try {
        RunDiff({a, b, false}, out);
        FAIL() << "compared with a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + b + " は開けません");
    }
}

} // namespace
} // namespace kt63
