#include "clitestfiles.h"
#include "commands.h"
#include "dataimage.h"
#include "tablediff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace kt63 {
namespace {

using test::Bytes;

// Random bytes between the fields, every field 0 but each weapon's Month 1: a file whose every
// stored value the window shows as it is.
Bytes TidyFile()
{
    Bytes bytes = test::RandomBytes(test::DataFileSize, 61);
    for (int32_t weapon = 1; weapon <= 1921; ++weapon) {
        for (const test::HandField& field : test::WeaponLayout())
            test::Put(bytes, test::WeaponAt(weapon, field.offset), field.width, 0);
        test::Put(bytes, test::WeaponAt(weapon, 125), 1, 1);
        for (int32_t slot = 0; slot < 6; ++slot)
            for (const test::HandField& field : test::SlotLayout())
                test::Put(bytes, test::SlotAt(weapon, slot, field.offset), field.width, 0);
    }
    for (int32_t group = 0; group < 1921; ++group)
        for (int32_t tab = 0; tab < 8; ++tab)
            for (const test::HandField& field : test::ArmamentLayout())
                test::Put(bytes, test::ArmamentAt(group, tab, field.offset), field.width, 0);
    return bytes;
}

const Bytes& SharedTidyFile()
{
    static const Bytes bytes = TidyFile();
    return bytes;
}

struct Poke
{
    int32_t at;
    int32_t width;
    int64_t value;
};

struct CheckRow
{
    const char* name;
    std::vector<Poke> pokes;
    int status;
    const char* text;
};

void PrintTo(const CheckRow& row, std::ostream* out)
{
    *out << row.name;
}

class Check : public ::testing::TestWithParam<CheckRow>
{
protected:
    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
};

TEST_P(Check, ListsWhatASaveFromTheWindowWouldChange)
{
    Bytes bytes = SharedTidyFile();
    for (const Poke& poke : GetParam().pokes)
        test::Put(bytes, poke.at, poke.width, poke.value);
    test::WriteBytes(data, bytes);
    std::ostringstream out;
    EXPECT_EQ(RunCheck({data, false}, out), GetParam().status);
    EXPECT_EQ(out.str(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Check,
    ::testing::Values(
        CheckRow{"nothing_out_of_range", {}, ExitSame, "0 fields would change\n"},
        CheckRow{"fuel_of_the_last_weapon",
                 {{test::WeaponAt(1921, 56), 2, 65535}},
                 ExitDifferent,
                 "weapon 1921 Fuel 65535 -> 999\n1 field would change\n"},
        CheckRow{"level_0_and_no_limit_fields_stay",
                 {{test::WeaponAt(4, 96), 1, 0},
                  {test::WeaponAt(4, 64), 4, -1},
                  {test::WeaponAt(4, 72), 1, 255},
                  {test::SlotAt(4, 2, 32), 1, 255},
                  {test::ArmamentAt(3, 1, 8), 2, 65535}},
                 ExitSame,
                 "0 fields would change\n"},
        CheckRow{"slot_and_armament_group_of_the_weapon",
                 {{test::SlotAt(10, 5, 0), 1, 120}, {test::ArmamentAt(9, 6, 0), 2, 900}},
                 ExitDifferent,
                 "weapon 10 slot 5 EquipmentKind 120 -> 99\n"
                 "armament 9/6 NameNumber 900 -> 800\n2 fields would change\n"},
        CheckRow{"weapon_by_weapon",
                 {{test::WeaponAt(3, 96), 1, 12}, {test::ArmamentAt(1, 0, 56), 1, 150}},
                 ExitDifferent,
                 "armament 1/0 Accuracy 150 -> 99\nweapon 3 Level 12 -> 9\n"
                 "2 fields would change\n"}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> SortedLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A file of random bytes, many of its fields outside the window's ranges: the patch changes
// exactly the fields listed, and afterwards no save would change anything.
TEST(CheckPatch, AppliedLeavesNothingToChange)
{
    test::TempDir dir;
    const std::string before = dir.path("before.dll");
    const std::string data = dir.path("Qelvint.dll");
    const std::string patch = dir.path("check.json");
    test::WriteBytes(before, test::RandomBytes(test::DataFileSize, 62));
    test::WriteBytes(data, test::ReadBytes(before));
    std::ostringstream text;
    ASSERT_EQ(RunCheck({data, false}, text), ExitDifferent);
    std::ostringstream json;
    ASSERT_EQ(RunCheck({data, true}, json), ExitDifferent);
    test::WriteText(patch, json.str());
    std::ostringstream applied;
    ASSERT_EQ(RunApply({data, {patch}, false, {}}, applied), ExitSame) << applied.str();

    std::ostringstream again;
    EXPECT_EQ(RunCheck({data, false}, again), ExitSame);
    EXPECT_EQ(again.str(), "0 fields would change\n");
    std::ostringstream diff;
    EXPECT_EQ(RunDiff({before, data, false}, diff), ExitDifferent);
    const std::vector<std::string> listed = SortedLines(text.str());
    EXPECT_EQ(
        SortedLines(diff.str() + std::to_string(listed.size() - 1) + " fields would change\n"),
        listed);
    EXPECT_GT(listed.size(), 1000u);
}

} // namespace
} // namespace kt63
