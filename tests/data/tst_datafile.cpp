#include "datafile.h"
#include "exception.h"
#include "helddatafile.h"
#include "testfiles.h"
#include "tfilestream.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

using test::Bytes;

class DataFileTest : public ::testing::Test
{
protected:
    test::TempDir dir;
    std::string path = dir.path("Qelvint.dll");
};

HeldDataFile OpenDataFile(const std::string& path)
{
    return HeldDataFile(path, HeldDataFile::Access::ReadWrite);
}

TEST_F(DataFileTest, MissingFileRaisesTheOpenError)
{
    try {
        OpenDataFile(path);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + path + " は開けません");
    }
}

class TooShort : public DataFileTest, public ::testing::WithParamInterface<size_t>
{
};

TEST_P(TooShort, IsRefusedClosedAgainAndLeftAsItWas)
{
    const Bytes original = test::RandomBytes(GetParam(), 5);
    test::WriteBytes(path, original);
    try {
        OpenDataFile(path);
        FAIL() << "accepted a file of " << GetParam() << " bytes";
    } catch (const EFTooShortError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ " + path + " は短すぎます");
    }
    EXPECT_NO_THROW(TFileStream(path, fmOpenRead | fmShareExclusive)) << "still held open";
    EXPECT_EQ(test::ReadBytes(path), original);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TooShort, ::testing::Values(0u, 1480148u, 2264783u));

// Sizes are 64-bit: a file beyond 2 GiB is long enough, not "too short".
TEST_F(DataFileTest, FileBeyondTwoGibibytesIsHeld)
{
    const int64_t size = int64_t{3} << 30;
    if (!test::WriteSparse(path, size))
        GTEST_SKIP() << "this file system cannot hold a file of 3 GiB";
    HeldDataFile file = OpenDataFile(path);
    EXPECT_EQ(file.Length(), size);
    ArmamentNameArea area;
    area.fill(0x7E);
    ReadArmamentNameArea(file, area);
    EXPECT_EQ(std::count(area.begin(), area.end(), 0), 14097);
}

TEST_F(DataFileTest, TooShortIsAKindOfOpenError)
{
    test::WriteBytes(path, Bytes(10, 0));
    EXPECT_THROW(OpenDataFile(path), EFOpenError);
}

TEST_F(DataFileTest, FullSizeFileIsHeldSoOthersCanOnlyRead)
{
    test::WriteBytes(path, Bytes(2264784, 0));
    auto file = OpenDataFile(path);
    EXPECT_THROW(TFileStream(path, fmOpenReadWrite | fmShareDenyWrite), EFOpenError);
    EXPECT_NO_THROW(TFileStream(path, fmOpenRead | fmShareDenyNone));
}

TEST_F(DataFileTest, ArmamentNameAreaIsReadWhole)
{
    const Bytes bytes = test::RandomBytes(2264784, 6);
    test::WriteBytes(path, bytes);
    ArmamentNameArea area{};
    HeldDataFile file = OpenDataFile(path);
    ReadArmamentNameArea(file, area);
    EXPECT_TRUE(std::equal(area.begin(), area.end(), bytes.begin() + 1466051));
}

// A file that ends inside the armament name area: the read is an error, and the buffer keeps
// what the previous open left in it.
TEST(DataFileShortArea, IsAnErrorAndLeavesTheBufferAsItWas)
{
    test::TempDir dir;
    const std::string path = dir.path("short.bin");
    test::WriteBytes(path, Bytes(1466051 + 100, 0x41));
    ArmamentNameArea area;
    area.fill(0x7E);
    TFileStream stream(path, fmOpenRead | fmShareDenyNone);
    HeldDataFile file(stream);
    try {
        ReadArmamentNameArea(file, area);
        FAIL() << "a short read went unreported";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.message(),
                  "ﾌｧｲﾙ " + path + " を読み込めません (14097 ﾊﾞｲﾄ中 100 ﾊﾞｲﾄしか読めません)");
    }
    EXPECT_EQ(std::count(area.begin(), area.end(), 0x7E), 14097);
}

} // namespace
} // namespace kt63
