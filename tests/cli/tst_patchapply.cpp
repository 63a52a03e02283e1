#include "clitestfiles.h"
#include "commands.h"
#include "dataimage.h"
#include "exception.h"
#include "faultystream.h"
#include "helddatafile.h"
#include "patchapply.h"
#include "recordingstream.h"
#include "scratchtmpfs.h"
#include "tablefileerror.h"
#include "tfilestream.h"
#include "tmemorystream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <system_error>

namespace kt63 {
namespace {

using test::Bytes;

// 2001, at an odd fraction of a second that still falls on the 100 ns steps of Windows file times.
constexpr int64_t LongAgo = 1000000000LL * 1000000000 + 123456700;

std::string Replace(std::string text, const std::string& mark, const std::string& by)
{
    for (size_t at; (at = text.find(mark)) != std::string::npos;)
        text.replace(at, mark.size(), by);
    return text;
}

// Sets cell `column` of line `line` (0 is the header) of a dumped CSV text.
std::string EditCell(const std::string& csv, size_t line, size_t column, int64_t value)
{
    size_t start = 0;
    for (size_t i = 0; i < line; ++i)
        start = csv.find("\r\n", start) + 2;
    for (size_t i = 0; i < column; ++i)
        start = csv.find(',', start) + 1;
    const size_t end = csv.find_first_of(",\r", start);
    return csv.substr(0, start) + std::to_string(value) + csv.substr(end);
}

class ApplyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        original = test::RandomBytes(test::DataFileSize, 41);
        test::Put(original, test::WeaponAt(17, 28), 1, 12);     // Speed
        test::Put(original, test::WeaponAt(2, 56), 2, 500);     // Fuel
        test::Put(original, test::WeaponAt(2, 64), 4, 0);       // CanBeCarried
        test::Put(original, test::SlotAt(5, 3, 12), 1, 7);      // Ammunition[2]
        test::Put(original, test::ArmamentAt(4, 2, 20), 1, 30); // AttackAir
        test::WriteBytes(data, original);
        std::ostringstream console;
        RunDump({data, {}, "csv", dir.path("dump"), {}}, console);
        test::SetModifiedAt(data, LongAgo);
    }

    int Apply(const std::vector<std::string>& patches, bool dryRun = false,
              const std::vector<std::string>& bases = {}, bool reverse = false)
    {
        std::ostringstream out;
        const int status = RunApply({data, patches, dryRun, bases, false, reverse}, out);
        output = out.str();
        return status;
    }

    int Reverse(const std::string& patch) { return Apply({patch}, false, {}, true); }

    // The JSON patch that diff makes from the file to `changed`.
    std::string DiffPatch(const Bytes& changed)
    {
        test::WriteBytes(dir.path("b.dll"), changed);
        std::ostringstream json;
        RunDiff({data, dir.path("b.dll"), true}, json);
        return Patch("patch.json", json.str());
    }

    std::string Patch(const std::string& name, const std::string& text)
    {
        test::WriteText(dir.path(name), text);
        return dir.path(name);
    }

    void ExpectUntouched()
    {
        EXPECT_EQ(test::ReadBytes(data), original);
        EXPECT_EQ(test::ModifiedAt(data), LongAgo) << "the file was written";
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    Bytes original;
    std::string output;
};

TEST_F(ApplyTest, UnchangedDumpWritesNothing)
{
    EXPECT_EQ(Apply({dir.path("dump/weapons.csv"), dir.path("dump/slots.csv"),
                     dir.path("dump/armaments.csv")}),
              ExitSame);
    EXPECT_EQ(output, "nothing written\n");
    ExpectUntouched();
}

TEST_F(ApplyTest, EditedRowsChangeExactlyTheEditedFields)
{
    const int64_t speed = original[test::WeaponAt(5, 28)] ^ 1;
    std::string weapons = test::ReadText(dir.path("dump/weapons.csv"));
    weapons = EditCell(weapons, 5, 1 + 3, speed); // weapon 5 Speed
    weapons = EditCell(weapons, 5, 1 + 17, 0);    // weapon 5 Level: no level
    weapons = EditCell(weapons, 1921, 1 + 9, -2); // weapon 1921 CanBeCarried
    const std::string slots =
        EditCell(test::ReadText(dir.path("dump/slots.csv")), 11526, 2 + 8, 200);
    const std::string armaments =
        EditCell(test::ReadText(dir.path("dump/armaments.csv")), 1, 2 + 0, 65535);
    Bytes expected = original;
    test::Put(expected, test::WeaponAt(5, 28), 1, speed);
    test::Put(expected, test::WeaponAt(5, 96), 1, 0);
    test::Put(expected, test::WeaponAt(1921, 64), 4, -2);
    test::Put(expected, test::SlotAt(1921, 5, 32), 1, 200);
    test::Put(expected, test::ArmamentAt(0, 0, 0), 2, 65535);
    ASSERT_NE(expected, original);

    EXPECT_EQ(Apply({Patch("w.csv", weapons), Patch("s.csv", slots), Patch("a.csv", armaments)}),
              ExitSame)
        << output;
    EXPECT_EQ(test::ReadBytes(data), expected);
    EXPECT_NE(output.find("weapon 1921 CanBeCarried "), std::string::npos) << output;
    EXPECT_EQ(output.substr(output.size() - 17), "5 fields written\n") << output;
}

TEST_F(ApplyTest, CsvMayCarryOnlySomeColumns)
{
    EXPECT_EQ(Apply({Patch("speed.csv", "Weapon,Speed\r\n17,13\r\n")}), ExitSame);
    EXPECT_EQ(output, "weapon 17 Speed 12 -> 13\n1 field written\n");
    Bytes expected = original;
    expected[test::WeaponAt(17, 28)] = 13;
    EXPECT_EQ(test::ReadBytes(data), expected);
}

TEST_F(ApplyTest, SpreadsheetCsvWithByteOrderMarkAndLineFeeds)
{
    EXPECT_EQ(Apply({Patch("sheet.csv", "\xEF\xBB\xBFWeapon,Speed\n\"17\",\"13\"\n")}), ExitSame);
    EXPECT_EQ(output, "weapon 17 Speed 12 -> 13\n1 field written\n");
}

TEST_F(ApplyTest, DiffPatchTurnsOneFileIntoTheOther)
{
    Bytes changed = original;
    test::Put(changed, test::WeaponAt(17, 28), 1, 15);
    test::Put(changed, test::SlotAt(5, 3, 12), 1, 9);
    test::Put(changed, test::ArmamentAt(4, 2, 20), 1, 31);
    test::Put(changed, test::WeaponAt(2, 56), 2, 0x1234);
    test::WriteBytes(dir.path("b.dll"), changed);
    std::ostringstream json;
    ASSERT_EQ(RunDiff({data, dir.path("b.dll"), true}, json), ExitDifferent);

    EXPECT_EQ(Apply({Patch("patch.json", json.str())}), ExitSame);
    EXPECT_EQ(output, "weapon 2 Fuel 500 -> 4660\n"
                      "weapon 17 Speed 12 -> 15\n"
                      "weapon 5 slot 3 Ammunition[2] 7 -> 9\n"
                      "armament 4/2 AttackAir 30 -> 31\n"
                      "4 fields written\n");
    EXPECT_EQ(test::ReadBytes(data), changed);
}

// Four fields, or every byte of both tables with its lowest bit flipped (every field changes).
Bytes FourFieldsChanged(Bytes bytes)
{
    test::Put(bytes, test::WeaponAt(17, 28), 1, 15);
    test::Put(bytes, test::SlotAt(5, 3, 12), 1, 9);
    test::Put(bytes, test::ArmamentAt(4, 2, 20), 1, 31);
    test::Put(bytes, test::WeaponAt(2, 56), 2, 0x1234);
    return bytes;
}

Bytes EveryFieldChanged(Bytes bytes)
{
    for (const ByteSpan& span : TableSpans())
        for (int32_t at = span.offset; at < span.offset + span.size; ++at)
            bytes[static_cast<size_t>(at)] ^= 1;
    return bytes;
}

class ApplyAndReverse : public ApplyTest, public ::testing::WithParamInterface<Bytes (*)(Bytes)>
{
};

TEST_P(ApplyAndReverse, GivesTheOldFileByteForByte)
{
    const std::string patch = DiffPatch(GetParam()(original));
    ASSERT_EQ(Apply({patch}), ExitSame) << output.substr(0, 500);
    const std::string written = output.substr(output.rfind('\n', output.size() - 2) + 1);
    ASSERT_NE(test::ReadBytes(data), original);

    EXPECT_EQ(Reverse(patch), ExitSame) << output.substr(0, 500);
    EXPECT_EQ(output.substr(output.rfind('\n', output.size() - 2) + 1), written);
    EXPECT_EQ(test::ReadBytes(data), original);
}

INSTANTIATE_TEST_SUITE_P(Patches, ApplyAndReverse,
                         ::testing::Values(FourFieldsChanged, EveryFieldChanged));

// After the apply someone set weapon 17's Speed again: only that field is listed, and nothing
// of the other three goes back.
TEST_F(ApplyTest, ReverseOfFieldsTheFileDoesNotHoldWritesNothing)
{
    const std::string patch = DiffPatch(FourFieldsChanged(original));
    ASSERT_EQ(Apply({patch}), ExitSame);
    original = FourFieldsChanged(original);
    test::Put(original, test::WeaponAt(17, 28), 1, 99);
    test::WriteBytes(data, original);
    test::SetModifiedAt(data, LongAgo);

    EXPECT_EQ(Reverse(patch), ExitDifferent);
    EXPECT_EQ(output, patch + " change 2: weapon 17 Speed: conflict: the patch expects 15, the "
                              "file holds 99\nnothing written: 1 problem\n");
    ExpectUntouched();
}

TEST_F(ApplyTest, ReverseRefusesACsvPatchAndSaysWhy)
{
    const std::string patch = Patch("speed.csv", "Weapon,Speed\r\n17,13\r\n");
    try {
        Reverse(patch);
        ADD_FAILURE() << "the CSV patch was taken";
    } catch (const ETableFileError& error) {
        EXPECT_EQ(error.message(), patch + " is a CSV patch: it holds no old values, so "
                                           "--reverse cannot take it back out (a JSON patch made "
                                           "by diff --json can be)");
    }
    ExpectUntouched();
}

// Since the dump, someone changed weapon 2's Fuel (500 to 600) and weapon 17's Speed (12 to 20).
class ApplyOverLaterEdits : public ApplyTest
{
protected:
    void SetUp() override
    {
        ApplyTest::SetUp();
        test::Put(original, test::WeaponAt(2, 56), 2, 600);
        test::Put(original, test::WeaponAt(17, 28), 1, 20);
        test::WriteBytes(data, original);
        test::SetModifiedAt(data, LongAgo);
        base = dir.path("dump/weapons.csv");
    }

    std::string base;
};

TEST_F(ApplyOverLaterEdits, WithTheDumpAsBaseOnlyEditedCellsAreWritten)
{
    std::string weapons = test::ReadText(base);
    weapons = EditCell(weapons, 5, 1 + 3, 99); // weapon 5 Speed
    EXPECT_EQ(Apply({Patch("w.csv", weapons)}, false, {base}), ExitSame) << output;
    Bytes expected = original;
    expected[test::WeaponAt(5, 28)] = 99;
    EXPECT_EQ(test::ReadBytes(data), expected) << "the later Fuel and Speed stay";
}

TEST_F(ApplyOverLaterEdits, WithoutABaseTheCsvPutsBackEveryValueItHolds)
{
    EXPECT_EQ(Apply({base}), ExitSame);
    EXPECT_EQ(output, "weapon 2 Fuel 600 -> 500\nweapon 17 Speed 20 -> 12\n2 fields written\n");
}

TEST_F(ApplyOverLaterEdits, EditOfAFieldChangedSinceTheDumpIsAConflict)
{
    const std::string weapons = EditCell(test::ReadText(base), 17, 1 + 3, 13);
    EXPECT_EQ(Apply({Patch("w.csv", weapons)}, false, {base}), ExitDifferent);
    EXPECT_EQ(output, dir.path("w.csv") +
                          " row 18: weapon 17 Speed: conflict: the patch expects 12, the file "
                          "holds 20\nnothing written: 1 problem\n");
    ExpectUntouched();
}

TEST_F(ApplyOverLaterEdits, TwoBasesThatDisagreeOnACellAreAProblem)
{
    const std::string other = Patch("other.csv", EditCell(test::ReadText(base), 5, 1 + 3, 99));
    EXPECT_EQ(Apply({Patch("w.csv", "Weapon,Speed\r\n3,1\r\n")}, false, {base, other}),
              ExitDifferent);
    EXPECT_EQ(output, other + " row 6: weapon 5 Speed: 99 where " + base + " row 6 has " +
                          std::to_string(original[test::WeaponAt(5, 28)]) +
                          "\nnothing written: 1 problem\n");
    ExpectUntouched();
}

// Listing only reads, so it also works while the editor holds the file.
TEST_F(ApplyTest, DryRunListsAndWritesNothing)
{
    TFileStream editor(data, fmOpenReadWrite | fmShareDenyWrite);
    EXPECT_EQ(Apply({Patch("speed.csv", "Weapon,Speed\r\n17,13\r\n")}, true), ExitSame);
    EXPECT_EQ(output, "would write weapon 17 Speed 12 -> 13\nnothing written\n");
    ExpectUntouched();
}

struct RefusedRow
{
    const char* name;
    const char* file; // written into the folder; %p in the texts stands for its path
    const char* patch;
    const char* output;
};

class Refused : public ApplyTest, public ::testing::WithParamInterface<RefusedRow>
{
};

TEST_P(Refused, WritesNothingAndNamesEveryProblem)
{
    const std::string path = Patch(GetParam().file, GetParam().patch);
    EXPECT_EQ(Apply({path}), ExitDifferent);
    EXPECT_EQ(output, Replace(GetParam().output, "%p", path));
    ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Patches, Refused,
    ::testing::Values(
        RefusedRow{"conflict", "p.json",
                   R"({"changes": [
                       {"table": "weapons", "Weapon": 2, "field": "Fuel", "old": 500, "new": 501},
                       {"table": "weapons", "Weapon": 17, "field": "Speed", "old": 11, "new": 3}]})",
                   "%p change 2: weapon 17 Speed: conflict: the patch expects 11, the file holds "
                   "12\nnothing written: 1 problem\n"},
        RefusedRow{"value_too_big_for_a_byte", "p.csv", "Weapon,Speed\r\n17,256\r\n",
                   "%p row 2: weapon 17 Speed: 256 does not fit 1 byte (0 to 255)\n"
                   "nothing written: 1 problem\n"},
        RefusedRow{"negative_value", "p.csv", "Weapon,Slot,Ammunition[2]\r\n5,3,-1\r\n",
                   "%p row 2: weapon 5 slot 3 Ammunition[2]: -1 does not fit 1 byte (0 to 255)\n"
                   "nothing written: 1 problem\n"},
        RefusedRow{"value_too_big_for_2_bytes", "p.csv", "Weapon,Fuel\r\n2,9\r\n3,65536\r\n",
                   "%p row 3: weapon 3 Fuel: 65536 does not fit 2 bytes (0 to 65535)\n"
                   "nothing written: 1 problem\n"},
        RefusedRow{"value_too_big_for_4_bytes", "p.json",
                   R"({"changes": [{"table": "weapons", "Weapon": 2, "field": "Fuel",
                                    "old": 500, "new": 0},
                                   {"table": "weapons", "Weapon": 2, "field": "CanBeCarried",
                                    "old": 0, "new": 2147483648}]})",
                   "%p change 2: weapon 2 CanBeCarried: 2147483648 does not fit 4 bytes "
                   "(-2147483648 to 2147483647)\nnothing written: 1 problem\n"},
        RefusedRow{"level_beyond_its_byte", "p.csv", "Weapon,Level\r\n4,256\r\n",
                   "%p row 2: weapon 4 Level: 256 does not fit 1 byte (0 to 255)\n"
                   "nothing written: 1 problem\n"},
        RefusedRow{"csv_mistakes", "p.csv",
                   "Weapon,Speed,Sped\r\n17,x,1\r\n0,1,1\r\n17,1\r\nA,1,1\r\n",
                   "%p row 1: unknown column \"Sped\"\n"
                   "%p row 2: weapon 17 Speed \"x\" is not a whole number\n"
                   "%p row 3: no such row in weapons\n"
                   "%p row 4: 2 cells where the header has 3\n"
                   "%p row 5: Weapon \"A\" is not a whole number\n"
                   "nothing written: 5 problems\n"},
        RefusedRow{"csv_row_twice", "p.csv", "Weapon,Speed\r\n17,12\r\n17,13\r\n",
                   "%p row 3: same row as row 2\nnothing written: 1 problem\n"},
        RefusedRow{"csv_column_twice", "p.csv", "Weapon,Speed,Speed\r\n17,12,13\r\n",
                   "%p row 1: column \"Speed\" twice\nnothing written: 1 problem\n"},
        RefusedRow{"json_mistakes", "p.json",
                   R"({"changes": [{"table": "weapon", "Weapon": 1},
                                   {"table": "slots", "Weapon": 1, "Slot": 6},
                                   {"table": "armaments", "Armament": 0, "Tab": 0, "field": "Fuel"},
                                   {"table": "weapons", "Weapon": 1, "field": "Fuel", "new": 1},
                                   7]})",
                   "%p change 1: \"table\" must be \"weapons\", \"slots\" or \"armaments\"\n"
                   "%p change 2: no row 1/6 in slots\n"
                   "%p change 3: unknown field \"Fuel\" in armaments\n"
                   "%p change 4: weapon 1 Fuel: \"old\" is missing or not a whole number\n"
                   "%p change 5: not an object\n"
                   "nothing written: 5 problems\n"},
        RefusedRow{"json_member_given_twice", "p.json",
                   R"({"changes": [{"table": "weapons", "Weapon": 2, "field": "Fuel",
                                    "old": 500, "new": 1, "new": 2}]})",
                   "%p change 1: \"new\" given twice\nnothing written: 1 problem\n"},
        RefusedRow{"json_integer_beyond_64_bits", "p.json",
                   R"({"changes": [{"table": "weapons", "Weapon": 2, "field": "Fuel",
                                    "old": 500, "new": 18446744073709551615}]})",
                   "%p change 1: weapon 2 Fuel: \"new\" 18446744073709551615 is beyond the "
                   "64-bit range\nnothing written: 1 problem\n"},
        RefusedRow{"field_changed_twice", "p.json",
                   R"({"changes": [
                       {"table": "weapons", "Weapon": 17, "field": "Speed", "old": 12, "new": 1},
                       {"table": "weapons", "Weapon": 17, "field": "Speed", "old": 12, "new": 2}]})",
                   "%p change 2: weapon 17 Speed: changed a second time (first in %p change 1)\n"
                   "nothing written: 1 problem\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The patches' changes keep the order the patches are given in, whichever list is the longer:
// the later change of a field is the one named as the second.
TEST_F(ApplyTest, PatchesKeepTheirOrder)
{
    const std::string one = Patch("one.csv", "Weapon,Speed\r\n17,1\r\n");
    const std::string three = Patch("three.csv", "Weapon,Speed\r\n3,5\r\n4,6\r\n17,2\r\n");
    for (const auto& [first, second, later, earlier] :
         {std::tuple{one, three, three + " row 4", one + " row 2"},
          std::tuple{three, one, one + " row 2", three + " row 4"}}) {
        EXPECT_EQ(Apply({first, second}), ExitDifferent);
        EXPECT_EQ(output, later + ": weapon 17 Speed: changed a second time (first in " + earlier +
                              ")\nnothing written: 1 problem\n");
    }
    ExpectUntouched();
}

TEST_F(ApplyTest, UnreadablePatchesAreErrorsNamingTheFile)
{
    for (const auto& [name, text, message] :
         {std::tuple{"bad.json", "{\"changes\": [", " is not JSON: "},
          std::tuple{"huge.json", "{\"changes\": [1e999]}", " is not JSON: "},
          std::tuple{"list.json", "[1, 2]", " holds no \"changes\" list"},
          std::tuple{"twice.json", "{\"changes\": [], \"changes\": []}",
                     ": \"changes\" given twice"},
          std::tuple{"bad.csv", "Weapon,Speed\r\n1,\"2\r\n", " is not CSV: "}}) {
        const std::string path = Patch(name, text);
        try {
            Apply({path});
            ADD_FAILURE() << name << " was taken";
        } catch (const Exception& error) {
            EXPECT_EQ(error.message().rfind(path + message, 0), 0u) << error.message();
        }
    }
    ExpectUntouched();
}

TEST_F(ApplyTest, FileHeldByTheEditorIsRefusedWithItsMessage)
{
    TFileStream editor(data, fmOpenReadWrite | fmShareDenyWrite);
    try {
        Apply({Patch("speed.csv", "Weapon,Speed\r\n17,13\r\n")});
        FAIL() << "applied to a file another program holds";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + data + " は開けません");
    }
    ExpectUntouched();
}

TEST_F(ApplyTest, ShortFileIsRefusedWithItsMessage)
{
    original.resize(test::DataFileSize - 1);
    test::WriteBytes(data, original);
    test::SetModifiedAt(data, LongAgo);
    try {
        Apply({Patch("speed.csv", "Weapon,Speed\r\n17,13\r\n")});
        FAIL() << "applied to a short file";
    } catch (const EFTooShortError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + data + " は短すぎます");
    }
    ExpectUntouched();
}

// A stream whose writes go nowhere while it claims to have stored them, as on a medium that
// drops them.
class DroppingStream final : public TStream
{
public:
    explicit DroppingStream(Bytes bytes) : mStream(std::move(bytes)) {}
    int32_t Seek(int32_t offset, uint16_t origin) override { return mStream.Seek(offset, origin); }
    int32_t Read(void* buffer, int32_t count) override { return mStream.Read(buffer, count); }
    int32_t Write(const void*, int32_t count) override { return count; }

private:
    TMemoryStream mStream;
};

TEST(WriteChanges, FieldThatDoesNotReadBackIsReported)
{
    Bytes bytes(test::DataFileSize, 0);
    DroppingStream stream(bytes);
    HeldDataFile file(stream);
    const std::vector<FieldChange> changes{
        {TableId::Weapons,
         {17, 0},
         3,
         0,
         12,
         {std::make_shared<const std::string>("p.csv row "), 2}}};
    EXPECT_EQ(
        WriteChanges(file, changes),
        (std::vector<std::string>{"p.csv row 2: weapon 17 Speed: reads back as 0 after writing 12",
                                  "every field written was put back to its old value"}));
}

// A real file system without a free page where the armament entry lies. With the journal the
// apply stops before its first write, since the journal finds no room; without it the weapon's
// field goes in, the entry's write fails, and the weapon's field is put back before the error is
// reported.
TEST(ApplyOnAFullDisk, PutsBackWhatItWroteAndSaysWhy)
{
    test::ScratchTmpfs tmpfs(6 << 20);
    if (!tmpfs.mounted())
        GTEST_SKIP() << tmpfs.reason();
    const std::string data = tmpfs.path("Qelvint.dll");
    test::WriteBytes(data, test::RandomBytes(test::DataFileSize, 43));
    test::ScratchTmpfs::PunchHole(data, test::ArmamentAt(4, 2, 0), 84);
    const Bytes before = test::ReadBytes(data);
    const std::string patch = tmpfs.path("p.json");
    test::WriteText(patch, R"({"changes": [
        {"table": "weapons", "Weapon": 17, "field": "Speed", "old": )" +
                               std::to_string(before[test::WeaponAt(17, 28)]) + R"(, "new": 0},
        {"table": "armaments", "Armament": 4, "Tab": 2, "field": "AttackAir", "old": 0,
         "new": 31}]})");
    tmpfs.FillUp();

    std::ostringstream console;
    try {
        RunApply({data, {patch}, false, {}}, console);
        ADD_FAILURE() << "the apply reported no error";
    } catch (const ETableFileError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + data + "-kt63-journal に書き込めません (" +
                                       std::generic_category().message(ENOSPC) +
                                       "): nothing written to " + data +
                                       " (an apply cut off without its journal cannot be "
                                       "undone; --no-journal applies without it)");
    }
    EXPECT_EQ(test::ReadBytes(data), before);
    EXPECT_FALSE(test::Exists(data + "-kt63-journal"));
    try {
        RunApply({data, {patch}, false, {}, true}, console);
        ADD_FAILURE() << "the apply reported no error";
    } catch (const EWriteError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + data + " に書き込めません (" +
                                       std::generic_category().message(ENOSPC) + ")");
    }
    EXPECT_EQ(test::ReadBytes(data), before);
}

// A file that ends before the weapon table does cannot be read as tables.
TEST(ReadTables, FileThatEndsTooEarlyIsAnError)
{
    TMemoryStream stream(Bytes(test::DataFileSize - 1, 0));
    HeldDataFile file(stream);
    EXPECT_THROW(ReadTables(file), EReadError);
    EXPECT_THROW(ReadWholeFile(file), EFTooShortError);
}

// Weapon 3's Month and Year lie side by side and go in one write, Speed before them in its own,
// whatever order the changes come in.
std::vector<FieldChange> SpeedMonthYear()
{
    const TableLayout& weapons = Table(TableId::Weapons);
    return {{TableId::Weapons, {3, 0}, FindColumn(weapons, "Year"), 0, 0x5A, {}},
            {TableId::Weapons, {3, 0}, FindColumn(weapons, "Speed"), 0, 0x11, {}},
            {TableId::Weapons, {3, 0}, FindColumn(weapons, "Month"), 0, 0xA5, {}}};
}

// A write of the pair that fails, or stores only Month, or a sync that fails after it, leaves
// every byte as it was.
class FailedRunWrite : public ::testing::TestWithParam<test::FaultyStream::Faults>
{
};

TEST_P(FailedRunWrite, PutsBackEveryByteOfTheRun)
{
    const Bytes bytes = test::RandomBytes(test::DataFileSize, 5);
    test::FaultyStream stream(bytes, GetParam());
    HeldDataFile file(stream);
    EXPECT_THROW(WriteChanges(file, SpeedMonthYear()), EWriteError);
    EXPECT_EQ(stream.bytes(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedRunWrite,
                         ::testing::Values(test::FaultyStream::Faults{.failingWrite = 2},
                                           test::FaultyStream::Faults{.failingWrite = 2,
                                                                      .shortWrite = true},
                                           test::FaultyStream::Faults{.failingSync = true}));

// Each field of a run that does not read back is named by the change it came from.
TEST(WriteChanges, FieldsOfARunThatDoNotReadBackAreEachReported)
{
    DroppingStream stream(Bytes(test::DataFileSize, 0));
    HeldDataFile file(stream);
    std::vector<FieldChange> changes = SpeedMonthYear();
    for (uint32_t i = 0; i < changes.size(); ++i)
        changes[i].source = {std::make_shared<const std::string>("p.json change "), i + 1};
    EXPECT_EQ(WriteChanges(file, changes),
              (std::vector<std::string>{
                  "p.json change 2: weapon 3 Speed: reads back as 0 after writing 17",
                  "p.json change 3: weapon 3 Month: reads back as 0 after writing 165",
                  "p.json change 1: weapon 3 Year: reads back as 0 after writing 90",
                  "every field written was put back to its old value"}));
}

TEST(WriteChanges, FieldsSideBySideGoInOneWrite)
{
    Bytes bytes = test::RandomBytes(test::DataFileSize, 5);
    test::FaultyStream stream(bytes, {});
    HeldDataFile file(stream);
    EXPECT_TRUE(WriteChanges(file, SpeedMonthYear()).empty());
    EXPECT_EQ(stream.writes(), 2);
    test::Put(bytes, test::WeaponAt(3, 28), 1, 0x11);
    test::Put(bytes, test::WeaponAt(3, 125), 1, 0xA5);
    test::Put(bytes, test::WeaponAt(3, 126), 1, 0x5A);
    EXPECT_EQ(stream.bytes(), bytes);
}

// Each run is one call at its place, without a seek; the bytes to replace come in one read per
// table span, and the reading back takes Speed to Year in one read of the bytes between them.
TEST(WriteChanges, EachRunIsOneCallAndTheReadingBackOneRead)
{
    test::RecordingStream stream(test::RandomBytes(test::DataFileSize, 5));
    HeldDataFile file(stream);
    EXPECT_TRUE(WriteChanges(file, SpeedMonthYear()).empty());
    const auto at = [](int32_t offset, int32_t count) {
        return std::to_string(offset) + " " + std::to_string(count);
    };
    const std::array<ByteSpan, 2> spans = TableSpans();
    const int32_t speed = test::WeaponAt(3, 28);
    EXPECT_EQ(stream.calls(),
              (std::vector<std::string>{"status", "read at " + at(spans[0].offset, spans[0].size),
                                        "read at " + at(spans[1].offset, spans[1].size),
                                        "write at " + at(speed, 1),
                                        "write at " + at(test::WeaponAt(3, 125), 2), "sync",
                                        "read at " + at(speed, 99), "status"}));
}

// A piece of the reading back stays inside one table span and under 256 KiB: the armament's
// field, weapons 1 and 3 together, weapon 1921 (700 KB on) alone.
TEST(WriteChanges, ReadingBackSplitsAtSpansAndDistance)
{
    test::RecordingStream stream(test::RandomBytes(test::DataFileSize, 6));
    HeldDataFile file(stream);
    const int32_t speed = FindColumn(Table(TableId::Weapons), "Speed");
    std::vector<FieldChange> changes{{TableId::Weapons, {1921, 0}, speed, 0, 0x11, {}},
                                     {TableId::Weapons, {3, 0}, speed, 0, 0x22, {}},
                                     {TableId::Armaments, {0, 1}, 1, 0, 0xBEEF, {}},
                                     {TableId::Weapons, {1, 0}, speed, 0, 0x33, {}}};
    EXPECT_TRUE(WriteChanges(file, changes).empty());
    const std::vector<std::string>& calls = stream.calls();
    const auto sync = std::find(calls.begin(), calls.end(), "sync");
    ASSERT_NE(sync, calls.end());
    const auto read = [](int32_t offset, int32_t count) {
        return "read at " + std::to_string(offset) + " " + std::to_string(count);
    };
    const int32_t first = test::WeaponAt(1, 28);
    EXPECT_EQ(std::vector<std::string>(sync + 1, calls.end()),
              (std::vector<std::string>{read(test::ArmamentAt(0, 1, 8), 2),
                                        read(first, test::WeaponAt(3, 28) - first + 1),
                                        read(test::WeaponAt(1921, 28), 1), "status"}));
}

TEST(WriteChanges, WritesOnlyTheFieldsBytes)
{
    Bytes bytes = test::RandomBytes(test::DataFileSize, 3);
    TMemoryStream stream(bytes);
    HeldDataFile file(stream);
    const std::vector<FieldChange> changes{
        {TableId::Weapons, {3, 0}, 9, 0, -2, {}},       // CanBeCarried, 4 bytes
        {TableId::Armaments, {0, 1}, 1, 0, 0xBEEF, {}}, // ArmamentKind, 2 bytes
    };
    EXPECT_TRUE(WriteChanges(file, changes).empty());
    test::Put(bytes, test::WeaponAt(3, 64), 4, -2);
    test::Put(bytes, test::ArmamentAt(0, 1, 8), 2, 0xBEEF);
    EXPECT_EQ(stream.bytes(), bytes);
}

} // namespace
} // namespace kt63
