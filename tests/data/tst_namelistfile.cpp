#include "exception.h"
#include "namelistfile.h"
#include "namescan.h"
#include "testfiles.h"
#include "tfilestream.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kt63 {
namespace {

using test::Bytes;
using test::Hex;

// Runs a test body inside a temporary working directory, as the editor reads "WN.dat" from it.
class NameListFileTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::current_path(dir.root()); }
    void TearDown() override { std::filesystem::current_path(mStart); }

    std::vector<std::string> NamesOf(const NameListFile& list)
    {
        std::vector<std::string> names;
        ScanNames(list.namesArea.data(), list.namesAreaSize,
                  [&](std::string_view name) { names.emplace_back(name); });
        return names;
    }

    test::TempDir dir;

private:
    const std::filesystem::path mStart = std::filesystem::current_path();
};

struct ReadRow
{
    const char* name;
    Bytes file;
    int32_t namesAreaSize;
    int16_t listNumber;
    std::vector<std::string> names;
};

void PrintTo(const ReadRow& row, std::ostream* out)
{
    *out << row.name;
}

class NameListRead : public NameListFileTest, public ::testing::WithParamInterface<ReadRow>
{
};

TEST_P(NameListRead, GivesTheNamesAreaAndTheSignedListNumber)
{
    const ReadRow& row = GetParam();
    test::WriteBytes("WN.dat", row.file);
    const NameListFile list = ReadNameListFile("WN.dat");
    EXPECT_EQ(list.namesAreaSize, row.namesAreaSize);
    EXPECT_EQ(list.listNumber, row.listNumber);
    EXPECT_EQ(NamesOf(list), row.names);
    EXPECT_EQ(list.path, dir.path("WN.dat"));
    EXPECT_EQ(test::ReadBytes("WN.dat"), row.file) << "reading writes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Files, NameListRead,
    ::testing::Values(ReadRow{"empty_file", {}, -2, 0, {}},
                      ReadRow{"one_byte", Hex("41"), -1, 0, {}},
                      ReadRow{"two_bytes_are_the_list_number", Hex("31 02"), 0, 561, {}},
                      ReadRow{"list_number_562", Hex("00 41 42 00 43 32 02"), 5, 562, {"AB", "C"}},
                      ReadRow{"list_number_minus_one", Hex("00 41 FF FF"), 2, -1, {"A"}},
                      ReadRow{"list_number_minus_32768", Hex("00 00 80"), 1, -32768, {}},
                      ReadRow{"name_ends_at_the_area_end", Hex("00 41 42 03 00"), 3, 3, {"AB"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NameListFileTest, ReadsAManyNameFile)
{
    Bytes file;
    for (int i = 0; i < 1924; ++i) {
        const std::string name = "name" + std::to_string(i);
        file.push_back(0);
        file.insert(file.end(), name.begin(), name.end());
    }
    file.push_back(3);
    file.push_back(0);
    test::WriteBytes("WN.dat", file);
    const NameListFile list = ReadNameListFile("WN.dat");
    const std::vector<std::string> names = NamesOf(list);
    ASSERT_EQ(names.size(), 1924u);
    EXPECT_EQ(names.front(), "name0");
    EXPECT_EQ(names.back(), "name1923");
    EXPECT_EQ(list.listNumber, 3);
}

TEST_F(NameListFileTest, MissingOrLockedFileRaisesTheOpenErrorWithTheRelativePath)
{
    EXPECT_THROW(
        {
            try {
                ReadNameListFile("WN.dat");
            } catch (const EFOpenError& error) {
                EXPECT_EQ(error.message(), "ﾌｧｲﾙ WN.dat は開けません");
                throw;
            }
        },
        EFOpenError);
    test::WriteBytes("WN.dat", Hex("00 41 03 00"));
    TFileStream other("WN.dat", fmOpenRead | fmShareDenyNone);
    EXPECT_THROW(ReadNameListFile("WN.dat"), EFOpenError);
}

struct WriteRow
{
    const char* name;
    int32_t value;
    Bytes lastTwo;
};

void PrintTo(const WriteRow& row, std::ostream* out)
{
    *out << row.name;
}

class ListNumberWrite : public NameListFileTest, public ::testing::WithParamInterface<WriteRow>
{
};

TEST_P(ListNumberWrite, WritesTheLowSixteenBitsIntoTheLastTwoBytesOnly)
{
    const Bytes before = Hex("00 41 42 00 43 32 02");
    test::WriteBytes("WN.dat", before);
    const NameListFile list = ReadNameListFile("WN.dat");
    WriteListNumber(list.path, list.namesAreaSize, list.identity, GetParam().value);
    Bytes expected(before.begin(), before.end() - 2);
    expected.insert(expected.end(), GetParam().lastTwo.begin(), GetParam().lastTwo.end());
    EXPECT_EQ(test::ReadBytes("WN.dat"), expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ListNumberWrite,
                         ::testing::Values(WriteRow{"shown_561", 561, Hex("31 02")},
                                           WriteRow{"zero", 0, Hex("00 00")},
                                           WriteRow{"typed_9999", 9999, Hex("0F 27")},
                                           WriteRow{"typed_minus_999", -999, Hex("19 FC")},
                                           WriteRow{"beyond_16_bits", 70000, Hex("70 11")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NameListFileTest, WriteGoesToTheFileReadAtStartAfterTheWorkingDirectoryMoved)
{
    test::WriteBytes("WN.dat", Hex("00 41 03 00"));
    const NameListFile list = ReadNameListFile("WN.dat");
    test::TempDir elsewhere;
    std::filesystem::current_path(elsewhere.root());
    WriteListNumber(list.path, list.namesAreaSize, list.identity, 5);
    EXPECT_FALSE(test::Exists(elsewhere.path("WN.dat")));
    EXPECT_EQ(test::ReadBytes(list.path), Hex("00 41 05 00"));
}

// Another program changed "WN.dat" while the editor ran: Exit writes nothing and says so.
struct ChangedRow
{
    const char* name;
    Bytes now;     // what the other program left at the path
    bool replaced; // a new file renamed over it, rather than the same file rewritten
    const char* message;
};

class ChangedByAnotherProgram : public NameListFileTest,
                                public ::testing::WithParamInterface<ChangedRow>
{
};

TEST_P(ChangedByAnotherProgram, ExitWritesNothingAndSaysSo)
{
    const ChangedRow& row = GetParam();
    test::WriteBytes("WN.dat", Hex("00 41 42 43 44 45 46 47 03 00"));
    const NameListFile list = ReadNameListFile("WN.dat");
    if (row.replaced) {
        test::WriteBytes("WN.new", row.now);
        std::filesystem::rename("WN.new", "WN.dat");
    } else {
        test::WriteBytes("WN.dat", row.now);
    }
    try {
        WriteListNumber(list.path, list.namesAreaSize, list.identity, 0x0102);
        FAIL() << "wrote into a changed file";
    } catch (const EFChangedError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + list.path + row.message);
    }
    EXPECT_EQ(test::ReadBytes("WN.dat"), row.now);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedByAnotherProgram,
    ::testing::Values(ChangedRow{"grown", Hex("00 41 42 43 44 45 46 47 03 00 48 49"), false,
                                 " は他のﾌﾟﾛｸﾞﾗﾑに変更されました"},
                      ChangedRow{"cut_to_nothing", {}, false, " は他のﾌﾟﾛｸﾞﾗﾑに切り詰められました"},
                      ChangedRow{"cut_to_three_bytes", Hex("00 41 42"), false,
                                 " は他のﾌﾟﾛｸﾞﾗﾑに切り詰められました"},
                      ChangedRow{"replaced_by_a_longer_file", Bytes(32, 0x41), true,
                                 " は他のﾌﾟﾛｸﾞﾗﾑに置き換えられました"},
                      ChangedRow{"replaced_by_one_as_long", Hex("00 5A 5A 5A 5A 5A 5A 5A 07 00"),
                                 true, " は他のﾌﾟﾛｸﾞﾗﾑに置き換えられました"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NameListFileTest, FileWithoutAListNumberIsNotWrittenNorExtended)
{
    test::WriteBytes("WN.dat", Hex("41"));
    const NameListFile list = ReadNameListFile("WN.dat");
    WriteListNumber(list.path, list.namesAreaSize, list.identity, 7);
    EXPECT_EQ(test::ReadBytes("WN.dat"), Hex("41"));
}

TEST_F(NameListFileTest, WriteToAMissingOrHeldFileRaisesTheOpenErrorWithTheAbsolutePath)
{
    test::WriteBytes("WN.dat", Hex("00 41 03 00"));
    const NameListFile list = ReadNameListFile("WN.dat");
    {
        TFileStream other(list.path, fmOpenRead | fmShareDenyNone);
        EXPECT_THROW(WriteListNumber(list.path, list.namesAreaSize, list.identity, 9), EFOpenError);
    }
    ASSERT_TRUE(std::filesystem::remove("WN.dat"));
    try {
        WriteListNumber(list.path, list.namesAreaSize, list.identity, 9);
        FAIL() << "wrote to a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + list.path + " は開けません");
    }
    EXPECT_FALSE(test::Exists("WN.dat")) << "the write never creates the file";
}

} // namespace
} // namespace kt63
