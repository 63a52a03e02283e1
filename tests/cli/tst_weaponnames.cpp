#include "clitestfiles.h"
#include "commands.h"
#include "cp932.h"
#include "csvrows.h"
#include "exception.h"
#include "weaponnames.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <sstream>

namespace kt63 {
namespace {

using test::Bytes;

std::vector<std::string> Numbered(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("兵器" + std::to_string(i));
    return names;
}

// What `Numbered(count)` names when entries from `first` on name weapons: entry i is weapon
// count - i, as long as that is a weapon number.
std::map<int32_t, std::string> NumberedNames(int count, int first)
{
    std::map<int32_t, std::string> named;
    for (int i = first; i < count; ++i)
        if (count - i <= 1921)
            named[count - i] = "兵器" + std::to_string(i);
    return named;
}

struct RuleRow
{
    const char* name;
    std::vector<std::string> list;
    int16_t listNumber;
    std::map<int32_t, std::string> named; // weapon number to name; every other weapon has none
};

class ListRule : public ::testing::TestWithParam<RuleRow>
{
};

TEST_P(ListRule, NamesWeaponCountMinusEntry)
{
    test::TempDir dir;
    test::WriteBytes(dir.path("WN.dat"),
                     test::NameListFile(GetParam().list, GetParam().listNumber));
    const std::vector<std::string> names = ReadWeaponNames(dir.path("WN.dat"));
    ASSERT_EQ(names.size(), 1922u);
    for (int32_t weapon = 0; weapon <= 1921; ++weapon) {
        const auto found = GetParam().named.find(weapon);
        EXPECT_EQ(names[static_cast<size_t>(weapon)],
                  found == GetParam().named.end() ? "" : found->second)
            << "weapon " << weapon;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListRule,
    ::testing::Values(
        RuleRow{
            "every_entry", {"零戦", "ﾒｯｻｰ", "T-34"}, 0, {{3, "零戦"}, {2, "ﾒｯｻｰ"}, {1, "T-34"}}},
        RuleRow{"first_two_name_nothing", {"零戦", "ﾒｯｻｰ", "T-34"}, 2, {{1, "T-34"}}},
        RuleRow{"list_number_past_the_list", {"零戦", "ﾒｯｻｰ"}, 2, {}},
        RuleRow{
            "negative_list_number_counts_as_0", {"零戦", "ﾒｯｻｰ"}, -1, {{2, "零戦"}, {1, "ﾒｯｻｰ"}}},
        RuleRow{"list_number_held_at_561", Numbered(563), 600, {{2, "兵器561"}, {1, "兵器562"}}},
        RuleRow{"entries_past_weapon_1921_name_nothing", Numbered(1923), 0, NumberedNames(1923, 0)},
        RuleRow{"long_list_from_entry_10", Numbered(1000), 10, NumberedNames(1000, 10)},
        RuleRow{"empty_list", {}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WeaponNames, CutNameEndingOnALeadByteEndsInAReplacement)
{
    test::TempDir dir;
    // "A" and twelve double-byte characters: the cut after 24 bytes keeps the 12th's lead byte.
    std::string longName = "A";
    for (int i = 0; i < 12; ++i)
        longName += "零";
    test::WriteBytes(dir.path("WN.dat"), test::NameListFile({longName}, 0));
    std::string expected = "A";
    for (int i = 0; i < 11; ++i)
        expected += "零";
    EXPECT_EQ(ReadWeaponNames(dir.path("WN.dat"))[1], expected + "\xEF\xBF\xBD");
}

TEST(WeaponNames, MissingFileGivesTheOpenError)
{
    test::TempDir dir;
    const std::string path = dir.path("WN.dat");
    try {
        ReadWeaponNames(path);
        FAIL() << "read a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + path + " は開けません");
    }
}

TEST(WeaponNames, DumpedNamesEncodeBackToTheBytesOfTheListFile)
{
    test::TempDir dir;
    const std::vector<std::string> list{"零式艦上戦闘機", "ﾒｯｻｰｼｭﾐｯﾄ",  "Ｔ－３４／７６",
                                        "九七式中戦車",   "ティーガー", "Spitfire Mk.V",
                                        "「大和」",       "①号"};
    const Bytes file = test::NameListFile(list, 0);
    test::WriteBytes(dir.path("WN.dat"), file);
    test::WriteBytes(dir.path("Qelvint.dll"), test::RandomBytes(test::DataFileSize, 4));
    std::ostringstream console;
    ASSERT_EQ(RunDump({dir.path("Qelvint.dll"), dir.path("WN.dat"), "csv", dir.path("weapons.csv"),
                       "weapons"},
                      console),
              ExitSame);

    const CsvTable rows = ReadCsvFile(dir.path("weapons.csv"));
    ASSERT_EQ(rows.size(), 1922u);
    ASSERT_EQ(rows[0][1], "Name");
    Bytes rebuilt;
    const size_t count = list.size();
    for (size_t entry = 0; entry < count; ++entry) {
        rebuilt.push_back(0);
        const std::string encoded = EncodeCp932(rows[count - entry][1]);
        rebuilt.insert(rebuilt.end(), encoded.begin(), encoded.end());
    }
    rebuilt.insert(rebuilt.end(), {0, 0});
    EXPECT_EQ(rebuilt, file);
    EXPECT_EQ(rows[count + 1][1], "") << "no entry names weapon " << count + 1;
}

TEST(WeaponNames, JsonRowsCarryTheNameAfterTheWeaponNumber)
{
    test::TempDir dir;
    test::WriteBytes(dir.path("WN.dat"), test::NameListFile({"零戦", "\"Bf109\", ﾒｯｻｰ"}, 0));
    const Bytes data = test::RandomBytes(test::DataFileSize, 8);
    test::WriteBytes(dir.path("Qelvint.dll"), data);
    std::ostringstream out;
    ASSERT_EQ(RunDump({dir.path("Qelvint.dll"), dir.path("WN.dat"), "json", {}, "weapons"}, out),
              ExitSame);
    const auto document = nlohmann::ordered_json::parse(out.str());
    const auto& weapons = document.at("weapons");
    ASSERT_EQ(weapons.size(), 1921u);
    EXPECT_EQ(weapons[0].at("Name"), "\"Bf109\", ﾒｯｻｰ");
    EXPECT_EQ(weapons[1].at("Name"), "零戦");
    EXPECT_EQ(weapons[2].at("Name"), "");
    EXPECT_EQ(std::next(weapons[1].begin()).key(), "Name");
    EXPECT_EQ(weapons[1].at("Weapon"), 2);
    EXPECT_EQ(weapons[1].at("Theatre"), data[static_cast<size_t>(test::WeaponAt(2, 144))]);
}

} // namespace
} // namespace kt63
