// kt63-table with files it must not read as patches or cannot take whole.

#include "clitestfiles.h"
#include "commands.h"
#include "tablefileerror.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <sys/stat.h>
#include <system_error>

namespace kt63 {
namespace {

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

// The message an apply with `patch` ends with; `data` must be as before and nothing listed.
std::string Refusal(const std::string& data, const std::string& patch)
{
    const test::Bytes before = test::ReadBytes(data);
    std::ostringstream console;
    std::string message = "(no error)";
    try {
        RunApply({data, {patch}, false, {}}, console);
    } catch (const ETableFileError& error) {
        message = error.message();
    }
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(test::ReadBytes(data), before);
    return message;
}

// A FIFO nobody writes would keep the apply waiting with the data file held, /dev/zero would
// fill the memory: a patch is read only from a regular file of at most 256 MiB.
TEST(NoPatch, IsRefusedWithItsNameAndWhy)
{
    test::TempDir dir;
    const std::string data = dir.path("Qelvint.dll");
    test::WriteBytes(data, test::RandomBytes(test::DataFileSize, 62));
#ifdef _WIN32
    // Windows has no FIFOs; its devices have names such as NUL.
    const std::string device = "NUL";
#else
    const std::string fifo = dir.path("p.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Refusal(data, fifo), "cannot read the patch " + fifo + " (not a regular file)");
    const std::string device = "/dev/zero";
#endif
    EXPECT_EQ(Refusal(data, device), "cannot read the patch " + device + " (not a regular file)");
    EXPECT_EQ(Refusal(data, dir.path("")),
              "cannot read the patch " + dir.path("") + " (" + Reason(EISDIR) + ")");
    EXPECT_EQ(Refusal(data, dir.path("none.csv")),
              "cannot read the patch " + dir.path("none.csv") + " (" + Reason(ENOENT) + ")");
    const std::string huge = dir.path("huge.json");
    if (!test::WriteSparse(huge, (int64_t{256} << 20) + 1))
        GTEST_SKIP() << "this file system cannot hold a file of 256 MiB";
    EXPECT_EQ(Refusal(data, huge), "the patch " + huge +
                                       " has 268435457 bytes, more than the 268435456 a patch "
                                       "may have");
}

// Both files of a diff are held in memory whole; a file of 3 GiB is not "too short".
TEST(LargeFile, IsTooLongToCompareWhole)
{
    test::TempDir dir;
    const std::string data = dir.path("Qelvint.dll");
    if (!test::WriteSparse(data, int64_t{3} << 30))
        GTEST_SKIP() << "this file system cannot hold a file of 3 GiB";
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
