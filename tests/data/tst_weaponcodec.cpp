#include "exception.h"
#include "helddatafile.h"
#include "layoutbyhand.h"
#include "recordingstream.h"
#include "testfiles.h"
#include "weaponcodec.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

using test::Bytes;
using namespace test::layout;

// --- The exact call sequences --------------------------------------------------------------

std::vector<std::string> ExpectedCalls(const char* transfer, int32_t start, const Place* places,
                                       int count)
{
    std::vector<std::string> calls{"seek begin " + std::to_string(start)};
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            const int32_t gap = places[i].offset - places[i - 1].offset - places[i - 1].width;
            if (gap != 0)
                calls.push_back("seek current " + std::to_string(gap));
        }
        calls.push_back(std::string(transfer) + " " + std::to_string(places[i].width));
    }
    return calls;
}

std::vector<std::string> ExpectedSequence(const char* transfer, const RecordAddress& a, bool weapon)
{
    std::vector<std::string> calls;
    auto append = [&](std::vector<std::string> more) {
        calls.insert(calls.end(), more.begin(), more.end());
    };
    if (weapon)
        append(ExpectedCalls(transfer, RecordAt(a.weapon), kWeaponPlaces, 27));
    const Place one{0, 1};
    append(ExpectedCalls(transfer, SlotAt(a.weapon, a.slot), &one, 1));
    append(ExpectedCalls(transfer, AmmunitionAt(a.weapon, a.slot, a.tab), &one, 1));
    append(ExpectedCalls(transfer, EntryAt(a.armament, a.tab), kEntryPlaces, 20));
    return calls;
}

TEST(WeaponCodecSequence, LoadWeaponSeeksAndReadsFieldByField)
{
    test::RecordingStream file(test::RandomBytes(2264784, 1));
    HeldDataFile held(file);
    const LoadedWeapon loaded = LoadWeapon(held, 1921, 5, 7);
    EXPECT_EQ(loaded.armament, 1920);
    std::vector<std::string> expected{"status"};
    const std::vector<std::string> reads = ExpectedSequence("read", {1921, 5, 1920, 7}, true);
    expected.insert(expected.end(), reads.begin(), reads.end());
    EXPECT_EQ(file.calls(), expected);
    EXPECT_EQ(file.calls().size(), 97u) << "one look at the file, 49 reads, 47 seeks";
}

TEST(WeaponCodecSequence, LoadArmamentUsesTheArmamentNumberGiven)
{
    test::RecordingStream file(test::RandomBytes(2264784, 2));
    HeldDataFile held(file);
    LoadArmament(held, {6, 2, 4, 1});
    std::vector<std::string> expected{"status"};
    const std::vector<std::string> reads = ExpectedSequence("read", {6, 2, 4, 1}, false);
    expected.insert(expected.end(), reads.begin(), reads.end());
    EXPECT_EQ(file.calls(), expected);
}

// Before the first write the save looks at the file and reads what it will replace, so that a
// failure can put it back; after the last write it syncs once and looks at the file again. The
// writes in between keep the load's order.
TEST(WeaponCodecSequence, SaveWeaponWritesInTheSameOrder)
{
    test::RecordingStream file(test::RandomBytes(2264784, 3));
    HeldDataFile held(file);
    SaveWeapon(held, {7, 3, 100, 2}, {}, {});
    std::vector<std::string> expected = {
        "status", "seek begin " + std::to_string(RecordAt(7)), "read 372",
        "seek begin " + std::to_string(EntryAt(100, 2)), "read 84"};
    const std::vector<std::string> writes = ExpectedSequence("write", {7, 3, 100, 2}, true);
    expected.insert(expected.end(), writes.begin(), writes.end());
    expected.push_back("sync");
    expected.push_back("status");
    EXPECT_EQ(file.calls(), expected);
}

// --- Range checks ----------------------------------------------------------------------------

class AddressOutOfRange : public ::testing::TestWithParam<RecordAddress>
{
};

TEST_P(AddressOutOfRange, IsRefusedBeforeAnyCall)
{
    const RecordAddress a = GetParam();
    test::RecordingStream file(Bytes(2264784, 0));
    HeldDataFile held(file);
    EXPECT_THROW(SaveWeapon(held, a, {}, {}), ERangeError);
    EXPECT_THROW(LoadArmament(held, a), ERangeError);
    if (a.armament == a.weapon - 1) {
        EXPECT_THROW(LoadWeapon(held, a.weapon, a.slot, a.tab), ERangeError);
    }
    EXPECT_TRUE(file.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Numbers, AddressOutOfRange,
                         ::testing::Values(RecordAddress{0, 0, -1, 0},
                                           RecordAddress{1922, 0, 1921, 0},
                                           RecordAddress{9999, 0, 9998, 0},
                                           RecordAddress{1, 6, 0, 0}, RecordAddress{1, -1, 0, 0},
                                           RecordAddress{1, 0, 0, 8}, RecordAddress{1, 0, 0, -1},
                                           RecordAddress{5, 0, 1921, 0},
                                           RecordAddress{5, 0, -1, 0}));

// --- Conversions ---------------------------------------------------------------------------

struct ConversionRow
{
    const char* name;
    int32_t WeaponValues::*weaponMember;
    int32_t ArmamentValues::*armamentMember;
    int32_t position; // absolute, for the address below
    Bytes stored;
    int32_t loaded;
    int32_t saved;
    Bytes written;
};

void PrintTo(const ConversionRow& row, std::ostream* out)
{
    *out << row.name;
}

constexpr RecordAddress kAt{3, 2, 7, 5};

class Conversion : public ::testing::TestWithParam<ConversionRow>
{
};

TEST_P(Conversion, LoadsTheStoredBytesAndSavesTheValuesLowBits)
{
    const ConversionRow& row = GetParam();
    Bytes bytes = test::RandomBytes(2264784, 4);
    std::copy(row.stored.begin(), row.stored.end(), bytes.begin() + row.position);
    TMemoryStream stream(bytes);
    HeldDataFile file(stream);

    LoadedWeapon values = LoadWeapon(file, kAt.weapon, kAt.slot, kAt.tab);
    values.armamentValues = LoadArmament(file, kAt);
    if (row.weaponMember) {
        EXPECT_EQ(values.weapon.*row.weaponMember, row.loaded);
        values.weapon.*row.weaponMember = row.saved;
    } else {
        EXPECT_EQ(values.armamentValues.*row.armamentMember, row.loaded);
        values.armamentValues.*row.armamentMember = row.saved;
    }
    SaveWeapon(file, kAt, values.weapon, values.armamentValues);

    std::copy(row.written.begin(), row.written.end(), bytes.begin() + row.position);
    EXPECT_EQ(stream.bytes(), bytes);
}

const int32_t kRecord = RecordAt(kAt.weapon);
const int32_t kSlot = SlotAt(kAt.weapon, kAt.slot);
const int32_t kCell = AmmunitionAt(kAt.weapon, kAt.slot, kAt.tab);
const int32_t kEntry = EntryAt(kAt.armament, kAt.tab);

INSTANTIATE_TEST_SUITE_P(
    Fields, Conversion,
    ::testing::Values(
        ConversionRow{"byte_300_gives_44",
                      &WeaponValues::UnitBranch,
                      nullptr,
                      kRecord + 0,
                      {0xC8},
                      200,
                      300,
                      {0x2C}},
        ConversionRow{"byte_minus1_gives_FF",
                      &WeaponValues::Weight,
                      nullptr,
                      kRecord + 48,
                      {0xFF},
                      255,
                      -1,
                      {0xFF}},
        ConversionRow{"word_70000_gives_70_11",
                      &WeaponValues::Fuel,
                      nullptr,
                      kRecord + 56,
                      {0xFF, 0xFF},
                      65535,
                      70000,
                      {0x70, 0x11}},
        ConversionRow{"word_65536_gives_00_00",
                      &WeaponValues::Improvement5,
                      nullptr,
                      kRecord + 116,
                      {0x81, 0x07},
                      1921,
                      65536,
                      {0x00, 0x00}},
        ConversionRow{"long_FFFFFFFF_round_trips",
                      &WeaponValues::CanBeCarried,
                      nullptr,
                      kRecord + 64,
                      {0xFF, 0xFF, 0xFF, 0xFF},
                      -1,
                      -1,
                      {0xFF, 0xFF, 0xFF, 0xFF}},
        ConversionRow{"long_keeps_the_bit_pattern",
                      &WeaponValues::CanBeCarried,
                      nullptr,
                      kRecord + 64,
                      {0x78, 0x56, 0x34, 0x12},
                      0x12345678,
                      INT32_MIN,
                      {0x00, 0x00, 0x00, 0x80}},
        ConversionRow{"level_0_is_no_level",
                      &WeaponValues::Level,
                      nullptr,
                      kRecord + 96,
                      {0x00},
                      -1,
                      -1,
                      {0x00}},
        ConversionRow{
            "level_1_is_item_0", &WeaponValues::Level, nullptr, kRecord + 96, {0x01}, 0, 8, {0x09}},
        ConversionRow{"level_12_loads_11",
                      &WeaponValues::Level,
                      nullptr,
                      kRecord + 96,
                      {0x0C},
                      11,
                      255,
                      {0x00}},
        ConversionRow{"appearance_index",
                      &WeaponValues::Appearance,
                      nullptr,
                      kRecord + 128,
                      {0x02},
                      2,
                      2,
                      {0x02}},
        ConversionRow{"theatre_low_8_bits",
                      &WeaponValues::Theatre,
                      nullptr,
                      kRecord + 144,
                      {0xC8},
                      200,
                      260,
                      {0x04}},
        ConversionRow{"month_before_year",
                      &WeaponValues::Month,
                      nullptr,
                      kRecord + 125,
                      {0x00},
                      0,
                      12,
                      {0x0C}},
        ConversionRow{"year_after_month",
                      &WeaponValues::Year,
                      nullptr,
                      kRecord + 126,
                      {0x63},
                      99,
                      100,
                      {0x64}},
        ConversionRow{"equipment_kind_in_the_slot",
                      nullptr,
                      &ArmamentValues::EquipmentKind,
                      kSlot,
                      {0x63},
                      99,
                      300,
                      {0x2C}},
        ConversionRow{"ammunition_in_the_tabs_cell",
                      nullptr,
                      &ArmamentValues::Ammunition,
                      kCell,
                      {0xFF},
                      255,
                      256,
                      {0x00}},
        ConversionRow{"armament_kind_40000",
                      nullptr,
                      &ArmamentValues::ArmamentKind,
                      kEntry + 8,
                      {0x40, 0x9C},
                      40000,
                      40000,
                      {0x40, 0x9C}},
        ConversionRow{"name_number_word",
                      nullptr,
                      &ArmamentValues::NameNumber,
                      kEntry + 0,
                      {0x84, 0x03},
                      900,
                      800,
                      {0x20, 0x03}},
        ConversionRow{"special_last_cell",
                      nullptr,
                      &ArmamentValues::Special,
                      kEntry + 80,
                      {0x05},
                      5,
                      -1,
                      {0xFF}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that ends two bytes into CanBeCarried: the load stops there, says how much of the field
// it got, and gives no values at all.
TEST(WeaponCodecShortFile, FieldCutByTheEndOfTheFileIsAnError)
{
    TMemoryStream stream(Bytes(static_cast<size_t>(RecordAt(1) + 66), 0xEE));
    HeldDataFile file(stream);
    try {
        LoadWeapon(file, 1, 0, 0);
        FAIL() << "a load past the end of the file gave values";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.message(), "ﾌｧｲﾙ  を読み込めません (4 ﾊﾞｲﾄ中 2 ﾊﾞｲﾄしか読めません)");
    }
}

} // namespace
} // namespace kt63
