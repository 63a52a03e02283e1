#include "datafile.h"
#include "exception.h"
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
    ReadArmamentNameArea(*OpenDataFile(path), area);
    EXPECT_TRUE(std::equal(area.begin(), area.end(), bytes.begin() + 1466051));
}

TEST(DataFileShortArea, BytesAShortReadDoesNotReachKeepTheirEarlierContent)
{
    test::TempDir dir;
    const std::string path = dir.path("short.bin");
    test::WriteBytes(path, Bytes(1466051 + 100, 0x41));
    ArmamentNameArea area;
    area.fill(0x7E);
    TFileStream file(path, fmOpenRead | fmShareDenyNone);
    ReadArmamentNameArea(file, area);
    EXPECT_EQ(std::count(area.begin(), area.begin() + 100, 0x41), 100);
    EXPECT_EQ(std::count(area.begin() + 100, area.end(), 0x7E), 13997);
}

} // namespace
} // namespace kt63
