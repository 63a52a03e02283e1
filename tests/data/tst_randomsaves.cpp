#include "helddatafile.h"
#include "testfiles.h"
#include "weaponcodec.h"

#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <climits>
#include <iterator>
#include <random>
#include <string>

// Thousands of saves at random addresses with random values, mirrored into a copy of the file
// in memory by a model of the layout written out here on its own, apart from the codec and its
// field table: a wrong offset, width or conversion in either shows up as a differing byte or a
// differing loaded value.
namespace kt63 {
namespace {

constexpr uint32_t kSeed = 20240607;
constexpr int kSaves = 5000;
constexpr int kFileCheckEvery = 500;
constexpr int32_t kFileSize = 2264784;

enum class Kind { Plain, Pattern32, Level };

template <class Values> struct ModelField
{
    const char* name;
    int32_t offset;
    int32_t width;
    Kind kind;
    int32_t Values::*member;
};

using W = WeaponValues;
using A = ArmamentValues;

constexpr ModelField<W> kWeaponModel[] = {
    {"UnitBranch", 0, 1, Kind::Plain, &W::UnitBranch},
    {"ProducingCountry", 4, 1, Kind::Plain, &W::ProducingCountry},
    {"MachineCount", 12, 1, Kind::Plain, &W::MachineCount},
    {"Speed", 28, 1, Kind::Plain, &W::Speed},
    {"SearchRange", 32, 1, Kind::Plain, &W::SearchRange},
    {"DefenceAir", 40, 1, Kind::Plain, &W::DefenceAir},
    {"DefenceGround", 44, 1, Kind::Plain, &W::DefenceGround},
    {"Weight", 48, 1, Kind::Plain, &W::Weight},
    {"Fuel", 56, 2, Kind::Plain, &W::Fuel},
    {"CanBeCarried", 64, 4, Kind::Pattern32, &W::CanBeCarried},
    {"CarriedOnShips", 68, 1, Kind::Plain, &W::CarriedOnShips},
    {"Troops", 72, 1, Kind::Plain, &W::Troops},
    {"LightGuns", 76, 1, Kind::Plain, &W::LightGuns},
    {"HeavyGuns", 80, 1, Kind::Plain, &W::HeavyGuns},
    {"Airborne", 84, 1, Kind::Plain, &W::Airborne},
    {"AirTransport", 88, 1, Kind::Plain, &W::AirTransport},
    {"Transport", 92, 1, Kind::Plain, &W::Transport},
    {"Level", 96, 1, Kind::Level, &W::Level},
    {"Improvement1", 100, 2, Kind::Plain, &W::Improvement1},
    {"Improvement2", 104, 2, Kind::Plain, &W::Improvement2},
    {"Improvement3", 108, 2, Kind::Plain, &W::Improvement3},
    {"Improvement4", 112, 2, Kind::Plain, &W::Improvement4},
    {"Improvement5", 116, 2, Kind::Plain, &W::Improvement5},
    {"Month", 125, 1, Kind::Plain, &W::Month},
    {"Year", 126, 1, Kind::Plain, &W::Year},
    {"Appearance", 128, 1, Kind::Plain, &W::Appearance},
    {"Theatre", 144, 1, Kind::Plain, &W::Theatre},
};

// Offsets within the armament entry.
constexpr ModelField<A> kEntryModel[] = {
    {"NameNumber", 0, 2, Kind::Plain, &A::NameNumber},
    {"ArmamentKind", 8, 2, Kind::Plain, &A::ArmamentKind},
    {"ArmamentCount", 12, 1, Kind::Plain, &A::ArmamentCount},
    {"Silhouette", 16, 2, Kind::Plain, &A::Silhouette},
    {"AttackAir", 20, 1, Kind::Plain, &A::AttackAir},
    {"AttackArmour", 24, 1, Kind::Plain, &A::AttackArmour},
    {"AttackPersonnel", 28, 1, Kind::Plain, &A::AttackPersonnel},
    {"AttackShip", 32, 1, Kind::Plain, &A::AttackShip},
    {"AttackSubmarine", 36, 1, Kind::Plain, &A::AttackSubmarine},
    {"RangeAir1", 40, 1, Kind::Plain, &A::RangeAir1},
    {"RangeAir2", 44, 1, Kind::Plain, &A::RangeAir2},
    {"RangeGround1", 48, 1, Kind::Plain, &A::RangeGround1},
    {"RangeGround2", 52, 1, Kind::Plain, &A::RangeGround2},
    {"Accuracy", 56, 1, Kind::Plain, &A::Accuracy},
    {"PriorityAir1", 60, 1, Kind::Plain, &A::PriorityAir1},
    {"PriorityAir2", 64, 1, Kind::Plain, &A::PriorityAir2},
    {"PriorityGround1", 68, 1, Kind::Plain, &A::PriorityGround1},
    {"PriorityGround2", 72, 1, Kind::Plain, &A::PriorityGround2},
    {"Price", 76, 1, Kind::Plain, &A::Price},
    {"Special", 80, 1, Kind::Plain, &A::Special},
};

// The slot's two one-byte fields lie in the weapon record: the equipment kind at the start of
// the slot entry, the ammunition of each tab in a 4-byte cell after it.
int32_t AmmunitionInSlot(int32_t tab)
{
    return 4 + 4 * tab;
}

int32_t RecordAt(int32_t n)
{
    return 1549800 + 372 * n;
}
int32_t SlotAt(int32_t n, int32_t s)
{
    return RecordAt(n) + 148 + 36 * s;
}
int32_t EntryAt(int32_t m, int32_t t)
{
    return 27040 + 672 * m + 84 * t;
}

// The data file as the layout says it must be after the saves made so far.
class ShadowFile
{
public:
    explicit ShadowFile(test::Bytes bytes) : mBytes(std::move(bytes)) {}

    const test::Bytes& bytes() const { return mBytes; }

    void save(const RecordAddress& a, const W& weapon, const A& armament)
    {
        for (const auto& field : kWeaponModel)
            put(RecordAt(a.weapon) + field.offset, field, weapon.*field.member);
        put(SlotAt(a.weapon, a.slot), 1, Kind::Plain, armament.EquipmentKind);
        put(SlotAt(a.weapon, a.slot) + AmmunitionInSlot(a.tab), 1, Kind::Plain,
            armament.Ammunition);
        for (const auto& field : kEntryModel)
            put(EntryAt(a.armament, a.tab) + field.offset, field, armament.*field.member);
    }

    W weapon(int32_t n) const
    {
        W values;
        for (const auto& field : kWeaponModel)
            values.*field.member = get(RecordAt(n) + field.offset, field.width, field.kind);
        return values;
    }

    A armament(const RecordAddress& a) const
    {
        A values;
        values.EquipmentKind = get(SlotAt(a.weapon, a.slot), 1, Kind::Plain);
        values.Ammunition = get(SlotAt(a.weapon, a.slot) + AmmunitionInSlot(a.tab), 1, Kind::Plain);
        for (const auto& field : kEntryModel)
            values.*field.member =
                get(EntryAt(a.armament, a.tab) + field.offset, field.width, field.kind);
        return values;
    }

private:
    template <class Values> void put(int32_t at, const ModelField<Values>& field, int32_t value)
    {
        put(at, field.width, field.kind, value);
    }

    // A save stores the low bits of the value; Level stores the item index plus 1, in 8 bits.
    void put(int32_t at, int32_t width, Kind kind, int32_t value)
    {
        uint32_t pattern = static_cast<uint32_t>(value);
        if (kind == Kind::Level)
            pattern = (pattern + 1u) & 0xFFu;
        for (int32_t i = 0; i < width; ++i)
            mBytes[static_cast<size_t>(at + i)] = static_cast<uint8_t>(pattern >> (8 * i));
    }

    int32_t get(int32_t at, int32_t width, Kind kind) const
    {
        uint32_t pattern = 0;
        for (int32_t i = 0; i < width; ++i)
            pattern |= uint32_t{mBytes[static_cast<size_t>(at + i)]} << (8 * i);
        if (kind == Kind::Level)
            return static_cast<int32_t>(pattern) - 1;
        return static_cast<int32_t>(pattern); // unsigned for 1 and 2 bytes, the pattern for 4
    }

    test::Bytes mBytes;
};

// Numbers straight from the engine, whose output the standard fixes, so that a seed repeats
// on every compiler.
class Dice
{
public:
    explicit Dice(uint32_t seed) : mEngine(seed) {}

    int32_t below(int32_t count) { return static_cast<int32_t>(mEngine() % uint32_t(count)); }

    // Mostly anywhere in [low, high]; one time in eight one of the two ends.
    int32_t within(int32_t low, int32_t high)
    {
        if (below(8) == 0)
            return below(2) == 0 ? low : high;
        return low + below(high - low + 1);
    }

    // Half of them at the edges of the conversions: widths, sign, and the Level's plus 1.
    int32_t value()
    {
        static constexpr int32_t edges[] = {0,     1,      -1,    255,    256,     -256,
                                            65535, 65536,  32767, -32768, INT_MAX, INT_MIN,
                                            -2,    0x1234, 300,   70000};
        if (below(2) == 0)
            return edges[below(static_cast<int32_t>(std::size(edges)))];
        return static_cast<int32_t>(mEngine());
    }

    RecordAddress address()
    {
        return {within(1, 1921), within(0, 5), within(0, 1920), within(0, 7)};
    }

    template <class Values, size_t N> Values values(const ModelField<Values> (&fields)[N])
    {
        Values values;
        for (const auto& field : fields)
            values.*field.member = value();
        return values;
    }

private:
    std::mt19937 mEngine;
};

std::string Describe(const RecordAddress& a)
{
    return "weapon " + std::to_string(a.weapon) + ", slot " + std::to_string(a.slot) +
           ", armament " + std::to_string(a.armament) + ", tab " + std::to_string(a.tab);
}

template <class Values, size_t N>
void ExpectFields(const Values& loaded, const Values& expected,
                  const ModelField<Values> (&fields)[N], const std::string& where)
{
    for (const auto& field : fields)
        EXPECT_EQ(loaded.*field.member, expected.*field.member) << field.name << " at " << where;
}

void ExpectArmament(const A& loaded, const A& expected, const std::string& where)
{
    EXPECT_EQ(loaded.EquipmentKind, expected.EquipmentKind) << "EquipmentKind at " << where;
    EXPECT_EQ(loaded.Ammunition, expected.Ammunition) << "Ammunition at " << where;
    ExpectFields(loaded, expected, kEntryModel, where);
}

// Loads at the address just saved or anywhere else, by LoadWeapon or by LoadArmament.
void LoadAndCompare(HeldDataFile& file, const ShadowFile& shadow, Dice& dice, RecordAddress a)
{
    if (dice.below(2) == 0)
        a = dice.address();
    if (dice.below(2) == 0) {
        const LoadedWeapon loaded = LoadWeapon(file, a.weapon, a.slot, a.tab);
        a.armament = a.weapon - 1;
        EXPECT_EQ(loaded.armament, a.armament) << "LoadWeapon at " << Describe(a);
        ExpectFields(loaded.weapon, shadow.weapon(a.weapon), kWeaponModel, Describe(a));
        ExpectArmament(loaded.armamentValues, shadow.armament(a), Describe(a));
    } else {
        ExpectArmament(LoadArmament(file, a), shadow.armament(a), Describe(a));
    }
}

size_t CountDifferences(const test::Bytes& left, const test::Bytes& right)
{
    size_t count = 0;
    for (size_t at = 0; at < left.size(); ++at)
        count += left[at] != right[at];
    return count;
}

void ExpectFileEquals(const test::Bytes& file, const test::Bytes& shadow)
{
    ASSERT_EQ(file.size(), shadow.size());
    const auto [fileAt, shadowAt] = std::mismatch(file.begin(), file.end(), shadow.begin());
    if (fileAt != file.end())
        ADD_FAILURE() << CountDifferences(file, shadow) << " bytes differ, the first at offset "
                      << (fileAt - file.begin()) << ": the file has " << int{*fileAt}
                      << ", the model " << int{*shadowAt};
}

TEST(RandomSaves, FileAndLoadsFollowAnIndependentModelOfTheLayout)
{
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    test::TempDir dir;
    const std::string path = dir.path("Qelvint.dll");
    test::WriteBytes(path, test::RandomBytes(kFileSize, kSeed));
    ShadowFile shadow(test::ReadBytes(path));
    const auto file = std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadWrite);
    Dice dice(kSeed);

    for (int save = 1; save <= kSaves && !HasFailure(); ++save) {
        SCOPED_TRACE("after save " + std::to_string(save));
        const RecordAddress a = dice.address();
        const W weapon = dice.values(kWeaponModel);
        A armament = dice.values(kEntryModel);
        armament.EquipmentKind = dice.value();
        armament.Ammunition = dice.value();
        SaveWeapon(*file, a, weapon, armament);
        shadow.save(a, weapon, armament);
        if (dice.below(2) == 0)
            LoadAndCompare(*file, shadow, dice, a);
        if (save % kFileCheckEvery == 0 || save == kSaves)
            ExpectFileEquals(test::ReadBytes(path), shadow.bytes());
    }
}

} // namespace
} // namespace kt63
