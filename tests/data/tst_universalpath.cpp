#include "universalpath.h"

#include "utf8path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kt63 {
namespace {

// "WN.dat" is named by a path that another folder later does not change: made absolute against
// the working folder of the moment, a local path as it is. Wine maps no drive letter to a
// network share, so the universal name of a mapped drive is not tried here.
struct PathRow
{
    const char* name;
    std::string path;
    std::string expected; // relative to the working folder
};

void PrintTo(const PathRow& row, std::ostream* out)
{
    *out << row.name;
}

class UniversalPathTest : public ::testing::TestWithParam<PathRow>
{
};

TEST_P(UniversalPathTest, IsTheAbsolutePathOfALocalFile)
{
    const std::filesystem::path folder = std::filesystem::current_path();
    const std::string expected =
        Utf8FromPath((folder / PathFromUtf8(GetParam().expected)).make_preferred());
    EXPECT_EQ(UniversalPath(GetParam().path), expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, UniversalPathTest,
                         ::testing::Values(PathRow{"name_alone", "WN.dat", "WN.dat"},
                                           PathRow{"japanese_folder", "兵器/WN.dat",
                                                   "兵器/WN.dat"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
