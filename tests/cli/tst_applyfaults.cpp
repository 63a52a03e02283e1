// What kt63-table does when the disk, the system or another program lets an apply down, and
// with files it must not read as patches or cannot take whole.

#include "clitestfiles.h"
#include "commands.h"
#include "exception.h"
#include "faultystream.h"
#include "helddatafile.h"
#include "patchapply.h"
#include "tablefileerror.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <sys/stat.h>
#include <system_error>

namespace kt63 {
namespace {

using Faults = test::FaultyStream::Faults;
using Race = test::FaultyStream::Race;

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

// --- Every call of a three-field apply, failing in turn --------------------------------------

struct ApplyFaultRow
{
    std::string name;
    Faults faults;
    std::string head; // how the message goes on after "ﾌｧｲﾙ Qelvint.dll "
};

void PrintTo(const ApplyFaultRow& row, std::ostream* out)
{
    *out << row.name;
}

const std::string kReading = "を読み込めません (";
const std::string kWriting = "に書き込めません (";
const std::string kNotSaved = ": 保存されていません";

// The apply reads the two tables (two seeks, two reads), writes the three fields (three seeks,
// three writes), syncs, and reads each field back (three seeks, three reads).
std::vector<ApplyFaultRow> ApplyFaultRows()
{
    std::vector<ApplyFaultRow> rows;
    for (int k = 1; k <= 8; ++k)
        rows.push_back({"seek_" + std::to_string(k) + "_refused",
                        {.failingSeek = k},
                        (k <= 2   ? kReading
                         : k <= 5 ? kWriting
                                  : kReading) +
                            "位置 "});
    for (int k = 1; k <= 5; ++k) {
        const std::string after = k <= 2 ? ")" : ")" + kNotSaved;
        rows.push_back({"read_" + std::to_string(k) + "_fails",
                        {.failingRead = k},
                        kReading + Reason(EIO) + after});
        rows.push_back({"read_" + std::to_string(k) + "_falls_short", {.shortRead = k}, kReading});
    }
    for (int k = 1; k <= 3; ++k)
        rows.push_back({"write_" + std::to_string(k) + "_fails",
                        {.failingWrite = k},
                        kWriting + Reason(ENOSPC) + ")"});
    rows.push_back({"sync_fails", {.failingSync = true}, kWriting + Reason(EIO) + ")"});
    rows.push_back({"cannot_look_before", {.failingStatus = 1}, "を確かめられません ("});
    rows.push_back({"cannot_look_after",
                    {.failingStatus = 2},
                    "を確かめられません (" + Reason(EACCES) + ")" + kNotSaved});
    for (int k : {1, 3}) {
        const std::string at = k == 1 ? "_at_the_first_write" : "_at_the_last_write";
        rows.push_back({"replaced" + at,
                        {.race = Race::Replaced, .raceAtWrite = k},
                        "は保存中に他のﾌﾟﾛｸﾞﾗﾑに置き換えられました" + kNotSaved});
        rows.push_back({"deleted" + at,
                        {.race = Race::Deleted, .raceAtWrite = k},
                        "は保存中に削除されました" + kNotSaved});
        rows.push_back({"cut" + at,
                        {.race = Race::CutShort, .raceAtWrite = k},
                        "は保存中に他のﾌﾟﾛｸﾞﾗﾑに切り詰められました (今は "});
    }
    return rows;
}

class ApplyFault : public ::testing::TestWithParam<ApplyFaultRow>
{
};

TEST_P(ApplyFault, EndsWithAnErrorNamingTheFileAndLeavesTheOldBytes)
{
    const test::Bytes original = test::RandomBytes(test::DataFileSize, 61);
    test::FaultyStream stream(original, GetParam().faults);
    HeldDataFile file(stream);
    const std::vector<FieldChange> changes{
        {TableId::Weapons, {17, 0}, 3, 0, 12, "p.csv row 2"},
        {TableId::Weapons, {2, 0}, 8, 0, 0x1234, "p.csv row 3"},
        {TableId::Armaments, {4, 2}, 4, 0, 31, "a.csv row 2"},
    };
    std::string message = "(no error)";
    try {
        const std::vector<std::string> problems = WriteChanges(file, changes);
        ADD_FAILURE() << "the apply went through with " << problems.size() << " problems";
    } catch (const EStreamError& error) {
        message = error.message();
    }
    const std::string head = "ﾌｧｲﾙ Qelvint.dll " + GetParam().head;
    EXPECT_EQ(message.substr(0, head.size()), head);
    EXPECT_TRUE(test::LeftAsBefore(stream, original, message));
}

INSTANTIATE_TEST_SUITE_P(Calls, ApplyFault, ::testing::ValuesIn(ApplyFaultRows()),
                         [](const auto& info) { return info.param.name; });

// --- Files that are no patch -----------------------------------------------------------------

class NoPatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        original = test::RandomBytes(test::DataFileSize, 62);
        test::WriteBytes(data, original);
    }

    // The message the apply ends with; the data file must be as before.
    std::string Refusal(const std::string& patch)
    {
        std::ostringstream console;
        std::string message = "(no error)";
        try {
            RunApply({data, {patch}, false, {}}, console);
        } catch (const ETableFileError& error) {
            message = error.message();
        }
        EXPECT_EQ(console.str(), "");
        EXPECT_EQ(test::ReadBytes(data), original);
        return message;
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    test::Bytes original;
};

// A FIFO that nobody writes would keep the apply waiting, with the data file held, for ever.
TEST_F(NoPatch, FifoIsRefusedAtOnce)
{
    const std::string fifo = dir.path("p.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Refusal(fifo), "cannot read the patch " + fifo + " (not a regular file)");
}

TEST_F(NoPatch, DevicesFoldersAndMissingFilesAreRefused)
{
    EXPECT_EQ(Refusal("/dev/zero"), "cannot read the patch /dev/zero (not a regular file)");
    EXPECT_EQ(Refusal(dir.path("")),
              "cannot read the patch " + dir.path("") + " (" + Reason(EISDIR) + ")");
    EXPECT_EQ(Refusal(dir.path("none.csv")),
              "cannot read the patch " + dir.path("none.csv") + " (" + Reason(ENOENT) + ")");
}

TEST_F(NoPatch, FileBeyondTheLimitIsRefusedUnread)
{
    const std::string huge = dir.path("huge.json");
    if (!test::WriteSparse(huge, (int64_t{256} << 20) + 1))
        GTEST_SKIP() << "this file system cannot hold a file of 256 MiB";
    EXPECT_EQ(Refusal(huge), "the patch " + huge +
                                 " has 268435457 bytes, more than the 268435456 a patch may have");
}

// --- Files beyond 2 GiB ----------------------------------------------------------------------

class LargeFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::WriteSparse(data, int64_t{3} << 30))
            GTEST_SKIP() << "this file system cannot hold a file of 3 GiB";
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
};

TEST_F(LargeFile, IsCheckedDumpedAndPatchedLikeAnyOther)
{
    std::ostringstream console;
    EXPECT_EQ(RunCheck({data, false}, console), ExitDifferent) << "a Month of 0 comes back as 1";
    EXPECT_EQ(RunDump({data, {}, "csv", {}, "armaments"}, console), ExitSame);
    const std::string patch = dir.path("p.csv");
    test::WriteText(patch, "Weapon,Speed\r\n17,13\r\n");
    EXPECT_EQ(RunApply({data, {patch}, false, {}}, console), ExitSame);
    struct stat info
    {
    };
    ASSERT_EQ(::stat(data.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, int64_t{3} << 30);
}

// Both files of a diff are held in memory whole.
TEST_F(LargeFile, IsTooLongToCompareWhole)
{
    std::ostringstream console;
    try {
        RunDiff({data, data, false}, console);
        FAIL() << "compared two files of 3 GiB";
    } catch (const ETableFileError& error) {
        EXPECT_EQ(error.message(),
                  data + " has 3221225472 bytes, too many to compare (at most 1073741824)");
    }
}

} // namespace
} // namespace kt63
