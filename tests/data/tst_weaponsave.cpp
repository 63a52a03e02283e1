#include "helddatafile.h"
#include "layoutbyhand.h"
#include "testfiles.h"
#include "weaponcodec.h"

#include <gtest/gtest.h>

#include <map>

namespace kt63 {
namespace {

using test::Bytes;
using namespace test::layout;

// Distinct values that fit their fields, so every one of the 61 bytes changes and a load gives
// them back unchanged.
int32_t FittingValue(int index, int32_t width)
{
    if (width == 4)
        return static_cast<int32_t>(0x89ABCDEFu + static_cast<uint32_t>(index));
    const uint32_t mask = width == 2 ? 0xFFFFu : 0xFFu;
    return static_cast<int32_t>((0x9E37u * static_cast<uint32_t>(index + 1) + 0x55u) & mask);
}

void Put(std::map<int32_t, uint8_t>& bytes, int32_t at, int32_t width, uint32_t pattern)
{
    for (int32_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<uint8_t>(pattern >> (8 * i));
}

class SaveFootprint : public ::testing::TestWithParam<RecordAddress>
{
protected:
    void SetUp() override
    {
        original = test::RandomBytes(2264784, 11);
        test::WriteBytes(path, original);
        int32_t* weaponValue = &weapon.UnitBranch;
        for (int i = 0; i < 27; ++i)
            weaponValue[i] = FittingValue(i, kWeaponPlaces[i].width);
        weapon.Level = 0x41; // stored as 0x42
        int32_t* armamentValue = &armament.EquipmentKind;
        for (int i = 0; i < 22; ++i)
            armamentValue[i] = FittingValue(30 + i, i < 2 ? 1 : kEntryPlaces[i - 2].width);
    }

    // The bytes a save of `weapon` and `armament` at `a` must write, worked out by hand.
    std::map<int32_t, uint8_t> ExpectedWrites(const RecordAddress& a) const
    {
        std::map<int32_t, uint8_t> writes;
        const int32_t* weaponValue = &weapon.UnitBranch;
        for (int i = 0; i < 27; ++i) {
            const uint32_t pattern = static_cast<uint32_t>(weaponValue[i]) + (i == kLevelIndex);
            Put(writes, RecordAt(a.weapon) + kWeaponPlaces[i].offset, kWeaponPlaces[i].width,
                pattern);
        }
        Put(writes, SlotAt(a.weapon, a.slot), 1, static_cast<uint32_t>(armament.EquipmentKind));
        Put(writes, AmmunitionAt(a.weapon, a.slot, a.tab), 1,
            static_cast<uint32_t>(armament.Ammunition));
        const int32_t* entryValue = &armament.NameNumber;
        for (int i = 0; i < 20; ++i)
            Put(writes, EntryAt(a.armament, a.tab) + kEntryPlaces[i].offset, kEntryPlaces[i].width,
                static_cast<uint32_t>(entryValue[i]));
        return writes;
    }

    test::TempDir dir;
    std::string path = dir.path("Qelvint.dll");
    Bytes original;
    WeaponValues weapon;
    ArmamentValues armament;
};

TEST_P(SaveFootprint, ChangesExactlyItsSixtyOneBytes)
{
    const RecordAddress a = GetParam();
    HeldDataFile file(path, HeldDataFile::Access::ReadWrite);
    SaveWeapon(file, a, weapon, armament);

    const std::map<int32_t, uint8_t> writes = ExpectedWrites(a);
    ASSERT_EQ(writes.size(), 61u);
    Bytes expected = original;
    for (const auto& [at, byte] : writes)
        expected[static_cast<size_t>(at)] = byte;
    const Bytes after = test::ReadBytes(path);
    ASSERT_EQ(after.size(), original.size());
    size_t changed = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i], expected[i]) << "byte " << i;
        changed += after[i] != original[i];
    }
    EXPECT_LE(changed, 61u);
}

TEST_P(SaveFootprint, LoadGivesBackWhatWasSaved)
{
    const RecordAddress a = GetParam();
    HeldDataFile file(path, HeldDataFile::Access::ReadWrite);
    SaveWeapon(file, a, weapon, armament);
    const LoadedWeapon loaded = LoadWeapon(file, a.weapon, a.slot, a.tab);
    EXPECT_EQ(loaded.weapon, weapon);
    EXPECT_EQ(LoadArmament(file, a), armament);
}

INSTANTIATE_TEST_SUITE_P(Addresses, SaveFootprint,
                         ::testing::Values(RecordAddress{1, 0, 0, 0},
                                           RecordAddress{1921, 5, 1920, 7},
                                           RecordAddress{1, 5, 1920, 0},
                                           RecordAddress{1921, 0, 0, 7}, RecordAddress{6, 3, 4, 2},
                                           RecordAddress{960, 2, 1500, 5}),
                         [](const auto& info) {
                             const RecordAddress& a = info.param;
                             return "weapon" + std::to_string(a.weapon) + "_slot" +
                                    std::to_string(a.slot) + "_group" + std::to_string(a.armament) +
                                    "_tab" + std::to_string(a.tab);
                         });

TEST(SaveFootprintEdges, NeverTouchesRecordZeroNorTheLastBytesOfARecord)
{
    test::TempDir dir;
    const std::string path = dir.path("Qelvint.dll");
    const Bytes original = test::RandomBytes(2264784, 12);
    test::WriteBytes(path, original);
    {
        HeldDataFile file(path, HeldDataFile::Access::ReadWrite);
        for (int32_t n : {1, 2, 1921})
            for (int32_t s = 0; s < 6; ++s)
                for (int32_t t = 0; t < 8; ++t)
                    SaveWeapon(file, {n, s, n - 1, t}, {}, {});
    }
    const Bytes after = test::ReadBytes(path);
    for (int32_t at = RecordAt(0); at < RecordAt(1); ++at)
        ASSERT_EQ(after[at], original[at]) << "record 0, byte " << at;
    for (int32_t n : {1, 2, 1921})
        for (int32_t at = RecordAt(n) + 364; at < RecordAt(n) + 372; ++at)
            ASSERT_EQ(after[at], original[at]) << "weapon " << n << ", byte " << at;
}

} // namespace
} // namespace kt63
