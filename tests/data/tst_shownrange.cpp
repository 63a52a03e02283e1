#include "recordfields.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kt63 {
namespace {

using test::Bytes;
using test::Hex;

struct FieldShape
{
    Conversion conversion;
    int32_t width;
    ShownRange shown;
};

FieldShape ShapeOf(std::string_view name)
{
    for (const WeaponField& field : WeaponFields)
        if (field.name == name)
            return {field.conversion, field.width, field.shown};
    for (const ArmamentField& field : ArmamentFields)
        if (field.name == name)
            return {field.conversion, field.width, field.shown};
    throw std::invalid_argument("no field " + std::string(name));
}

struct SaveRow
{
    const char* name;
    const char* field;
    const char* stored;
    const char* saved;
};

void PrintTo(const SaveRow& row, std::ostream* out)
{
    *out << row.name;
}

class BytesAfterSaveOf : public ::testing::TestWithParam<SaveRow>
{
};

TEST_P(BytesAfterSaveOf, IsWhatTheWindowShowsSavedAgain)
{
    const SaveRow& row = GetParam();
    const FieldShape shape = ShapeOf(row.field);
    const Bytes stored = Hex(row.stored);
    Bytes saved(stored.size(), 0xAA);
    BytesAfterSave(shape.conversion, shape.width, shape.shown, stored.data(), saved.data());
    EXPECT_EQ(saved, Hex(row.saved));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BytesAfterSaveOf,
    ::testing::Values(SaveRow{"level_0_stays_no_level", "Level", "00", "00"},
                      SaveRow{"level_9_stays", "Level", "09", "09"},
                      SaveRow{"level_12_becomes_9", "Level", "0C", "09"},
                      SaveRow{"level_255_becomes_9", "Level", "FF", "09"},
                      SaveRow{"appearance_3_becomes_2", "Appearance", "03", "02"},
                      SaveRow{"theatre_255_becomes_4", "Theatre", "FF", "04"},
                      SaveRow{"month_0_becomes_1", "Month", "00", "01"},
                      SaveRow{"country_40_becomes_31", "ProducingCountry", "28", "1F"},
                      SaveRow{"fuel_65535_becomes_999", "Fuel", "FF FF", "E7 03"},
                      SaveRow{"name_900_becomes_800", "NameNumber", "84 03", "20 03"},
                      SaveRow{"armament_kind_40000_stays", "ArmamentKind", "40 9C", "40 9C"},
                      SaveRow{"can_be_carried_all_ones_stays", "CanBeCarried", "FF FF FF FF",
                              "FF FF FF FF"},
                      SaveRow{"troops_255_without_limit_stays", "Troops", "FF", "FF"}),
    [](const auto& info) { return std::string(info.param.name); });

struct KeptRow
{
    const char* name;
    const char* field;
    ValueRange kept;
};

void PrintTo(const KeptRow& row, std::ostream* out)
{
    *out << row.name;
}

class KeptRangeOf : public ::testing::TestWithParam<KeptRow>
{
};

TEST_P(KeptRangeOf, HoldsTheValuesASaveLeavesAlone)
{
    const KeptRow& row = GetParam();
    const FieldShape shape = ShapeOf(row.field);
    const ValueRange kept = KeptRange(shape.conversion, shape.width, shape.shown);
    EXPECT_EQ(kept.low, row.kept.low);
    EXPECT_EQ(kept.high, row.kept.high);
}

// "No item" is a level of its own, but no stored appearance loads as it.
INSTANTIATE_TEST_SUITE_P(Fields, KeptRangeOf,
                         ::testing::Values(KeptRow{"level_none_to_9", "Level", {-1, 8}},
                                           KeptRow{"appearance_three_items", "Appearance", {0, 2}},
                                           KeptRow{"month", "Month", {1, 12}},
                                           KeptRow{"troops_whole_byte", "Troops", {0, 255}},
                                           KeptRow{"can_be_carried_every_pattern",
                                                   "CanBeCarried",
                                                   {INT32_MIN, INT32_MAX}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
