#include "namescan.h"
#include "testfiles.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

using test::Bytes;
using test::Hex;

std::vector<Bytes> Scan(const Bytes& area)
{
    std::vector<Bytes> names;
    ScanNames(area.data(), static_cast<int32_t>(area.size()),
              [&](std::string_view name) { names.emplace_back(name.begin(), name.end()); });
    return names;
}

Bytes Run(size_t count, uint8_t byte)
{
    return Bytes(count, byte);
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

struct ScanRow
{
    const char* name;
    Bytes area;
    std::vector<Bytes> names;
};

void PrintTo(const ScanRow& row, std::ostream* out)
{
    *out << row.name;
}

class NameScan : public ::testing::TestWithParam<ScanRow>
{
};

TEST_P(NameScan, FindsExactlyTheNamesOfTheRule)
{
    EXPECT_EQ(Scan(GetParam().area), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, NameScan,
    ::testing::Values(
        ScanRow{"two_names_between_zeros", Hex("00 41 42 00 00 43 00"), {Hex("41 42"), Hex("43")}},
        ScanRow{"first_run_is_never_a_name", Hex("41 42 00 43"), {Hex("43")}},
        ScanRow{"long_run_gives_its_first_24_bytes_once",
                Join({Hex("00"), Run(30, 0x61)}),
                {Run(24, 0x61)}},
        ScanRow{"short_name_after_a_long_one_is_its_own_bytes",
                Join({Hex("00"), Run(24, 0x62), Hex("00 31 32 33")}),
                {Run(24, 0x62), Hex("31 32 33")}},
        ScanRow{"run_of_25_then_a_name",
                Join({Hex("00"), Run(25, 0x63), Hex("00 44 00")}),
                {Run(24, 0x63), Hex("44")}},
        ScanRow{"cut_splits_a_double_byte_character",
                Join({Hex("00"), Run(23, 0x61), Hex("82 A0 00")}),
                {Join({Run(23, 0x61), Hex("82")})}},
        ScanRow{"zeros_only", Run(50, 0x00), {}}, ScanRow{"one_zero_byte", Hex("00"), {}},
        ScanRow{"one_name_byte", Hex("41"), {}}, ScanRow{"empty_area", {}, {}},
        ScanRow{"two_bytes", Hex("00 41"), {Hex("41")}},
        ScanRow{"last_byte_ends_a_name", Hex("00 00 41"), {Hex("41")}},
        ScanRow{"last_byte_zero_starts_nothing", Hex("00 41 00"), {Hex("41")}},
        ScanRow{"many_zeros_between", Hex("00 00 00 41 00 00 00 00 42"), {Hex("41"), Hex("42")}},
        ScanRow{"duplicates_stay", Hex("00 41 00 41"), {Hex("41"), Hex("41")}},
        ScanRow{"shift_jis_bytes_are_kept",
                Hex("00 95 BA 8A ED 00 B1 B2"),
                {Hex("95 BA 8A ED"), Hex("B1 B2")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameScanLength, ReadsNothingBeyondTheLengthGiven)
{
    const Bytes bytes = Hex("00 41 42 43 00 44");
    std::vector<std::string> names;
    ScanNames(bytes.data(), 3, [&](std::string_view name) { names.emplace_back(name); });
    EXPECT_EQ(names, std::vector<std::string>{"AB"});
}

} // namespace
} // namespace kt63
