#include "spinrange.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

struct BoundRow
{
    const char* name;
    int64_t value;
    int32_t minValue;
    int32_t maxValue;
    int32_t bounded;
};

void PrintTo(const BoundRow& row, std::ostream* out)
{
    *out << row.name;
}

class SpinRange : public ::testing::TestWithParam<BoundRow>
{
};

TEST_P(SpinRange, BringsTheValueWithinTheLimits)
{
    const BoundRow& row = GetParam();
    EXPECT_EQ(BoundSpinValue(row.value, row.minValue, row.maxValue), row.bounded);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SpinRange,
    ::testing::Values(
        BoundRow{"inside", 7, 1, 12, 7}, BoundRow{"at_lower", 1, 1, 12, 1},
        BoundRow{"at_upper", 12, 1, 12, 12}, BoundRow{"below_lower", 0, 1, 12, 1},
        BoundRow{"above_upper", 13, 1, 12, 12}, BoundRow{"byte_field_300", 300, 0, 255, 255},
        BoundRow{"no_limits_keeps_255", 255, 0, 0, 255},
        BoundRow{"no_limits_keeps_negative", -3, 0, 0, -3},
        BoundRow{"equal_limits_not_zero", -3, 5, 5, -3},
        BoundRow{"no_limits_saturates_up", int64_t{INT32_MAX} + 1, 0, 0, INT32_MAX},
        BoundRow{"no_limits_saturates_down", int64_t{INT32_MIN} - 1, 0, 0, INT32_MIN},
        BoundRow{"full_range_saturates", int64_t{INT32_MAX} + 1, INT32_MIN, INT32_MAX, INT32_MAX},
        BoundRow{"reversed_below_both", 3, 10, 5, 10}, BoundRow{"reversed_between", 7, 10, 5, 10},
        BoundRow{"reversed_above_both", 12, 10, 5, 5}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
