#pragma once

#include "recordvalues.h"
#include "shownrange.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kt63 {

// How a field's bytes become a value and back.
enum class Conversion : uint8_t {
    Unsigned, // 1 or 2 bytes, little-endian, 0 to 65535; saved as the low bits
    Signed32, // 4 bytes whose 32-bit pattern is carried through unchanged
    Level,    // 1 byte holding the item index plus 1, so that 0 means no level
};

// The part of the file a field's offset counts from.
enum class Region : uint8_t { WeaponRecord, SlotEntry, AmmunitionCell, ArmamentEntry };

template <class Values> struct FieldSpec
{
    std::string_view name;
    Region region;
    int32_t offset; // from the start of the region
    int32_t width;  // 1, 2 or 4 bytes
    Conversion conversion;
    int32_t Values::*member;
    ShownRange shown; // what the window's control for the field holds
};

using WeaponField = FieldSpec<WeaponValues>;
using ArmamentField = FieldSpec<ArmamentValues>;

// The weapon record's fields in the order they are read and written. Every byte between them
// belongs to the game and is never touched. A field shown narrower than it is stored loses a
// stored value outside its range to a save: the value comes back at the nearest end.
inline constexpr std::array<WeaponField, 27> WeaponFields{{
    {"UnitBranch", Region::WeaponRecord, 0, 1, Conversion::Unsigned, &WeaponValues::UnitBranch,
     SpinLimits(0, 255)},
    {"ProducingCountry", Region::WeaponRecord, 4, 1, Conversion::Unsigned,
     &WeaponValues::ProducingCountry, SpinLimits(0, 31)},
    {"MachineCount", Region::WeaponRecord, 12, 1, Conversion::Unsigned, &WeaponValues::MachineCount,
     SpinLimits(0, 255)},
    {"Speed", Region::WeaponRecord, 28, 1, Conversion::Unsigned, &WeaponValues::Speed,
     SpinLimits(0, 64)},
    {"SearchRange", Region::WeaponRecord, 32, 1, Conversion::Unsigned, &WeaponValues::SearchRange,
     SpinLimits(0, 16)},
    {"DefenceAir", Region::WeaponRecord, 40, 1, Conversion::Unsigned, &WeaponValues::DefenceAir,
     SpinLimits(0, 99)},
    {"DefenceGround", Region::WeaponRecord, 44, 1, Conversion::Unsigned,
     &WeaponValues::DefenceGround, SpinLimits(0, 99)},
    {"Weight", Region::WeaponRecord, 48, 1, Conversion::Unsigned, &WeaponValues::Weight,
     SpinLimits(0, 255)},
    {"Fuel", Region::WeaponRecord, 56, 2, Conversion::Unsigned, &WeaponValues::Fuel,
     SpinLimits(0, 999)},
    {"CanBeCarried", Region::WeaponRecord, 64, 4, Conversion::Signed32, &WeaponValues::CanBeCarried,
     NoLimit},
    {"CarriedOnShips", Region::WeaponRecord, 68, 1, Conversion::Unsigned,
     &WeaponValues::CarriedOnShips, NoLimit},
    {"Troops", Region::WeaponRecord, 72, 1, Conversion::Unsigned, &WeaponValues::Troops, NoLimit},
    {"LightGuns", Region::WeaponRecord, 76, 1, Conversion::Unsigned, &WeaponValues::LightGuns,
     NoLimit},
    {"HeavyGuns", Region::WeaponRecord, 80, 1, Conversion::Unsigned, &WeaponValues::HeavyGuns,
     NoLimit},
    {"Airborne", Region::WeaponRecord, 84, 1, Conversion::Unsigned, &WeaponValues::Airborne,
     NoLimit},
    {"AirTransport", Region::WeaponRecord, 88, 1, Conversion::Unsigned, &WeaponValues::AirTransport,
     NoLimit},
    {"Transport", Region::WeaponRecord, 92, 1, Conversion::Unsigned, &WeaponValues::Transport,
     NoLimit},
    {"Level", Region::WeaponRecord, 96, 1, Conversion::Level, &WeaponValues::Level, RadioItems(9)},
    {"Improvement1", Region::WeaponRecord, 100, 2, Conversion::Unsigned,
     &WeaponValues::Improvement1, SpinLimits(0, 1921)},
    {"Improvement2", Region::WeaponRecord, 104, 2, Conversion::Unsigned,
     &WeaponValues::Improvement2, SpinLimits(0, 1921)},
    {"Improvement3", Region::WeaponRecord, 108, 2, Conversion::Unsigned,
     &WeaponValues::Improvement3, SpinLimits(0, 1921)},
    {"Improvement4", Region::WeaponRecord, 112, 2, Conversion::Unsigned,
     &WeaponValues::Improvement4, SpinLimits(0, 1921)},
    {"Improvement5", Region::WeaponRecord, 116, 2, Conversion::Unsigned,
     &WeaponValues::Improvement5, SpinLimits(0, 1921)},
    {"Month", Region::WeaponRecord, 125, 1, Conversion::Unsigned, &WeaponValues::Month,
     SpinLimits(1, 12)},
    {"Year", Region::WeaponRecord, 126, 1, Conversion::Unsigned, &WeaponValues::Year,
     SpinLimits(0, 99)},
    {"Appearance", Region::WeaponRecord, 128, 1, Conversion::Unsigned, &WeaponValues::Appearance,
     RadioItems(3)},
    {"Theatre", Region::WeaponRecord, 144, 1, Conversion::Unsigned, &WeaponValues::Theatre,
     RadioItems(5)},
}};

// The slot's two fields, then the armament entry's twenty. From entry offset 20 on each field
// is the first byte of a 4-byte cell whose other three bytes are the game's.
inline constexpr std::array<ArmamentField, 22> ArmamentFields{{
    {"EquipmentKind", Region::SlotEntry, 0, 1, Conversion::Unsigned, &ArmamentValues::EquipmentKind,
     SpinLimits(0, 99)},
    {"Ammunition", Region::AmmunitionCell, 0, 1, Conversion::Unsigned, &ArmamentValues::Ammunition,
     SpinLimits(0, 255)},
    {"NameNumber", Region::ArmamentEntry, 0, 2, Conversion::Unsigned, &ArmamentValues::NameNumber,
     SpinLimits(0, 800)},
    {"ArmamentKind", Region::ArmamentEntry, 8, 2, Conversion::Unsigned,
     &ArmamentValues::ArmamentKind, SpinLimits(0, 65535)},
    {"ArmamentCount", Region::ArmamentEntry, 12, 1, Conversion::Unsigned,
     &ArmamentValues::ArmamentCount, SpinLimits(0, 255)},
    {"Silhouette", Region::ArmamentEntry, 16, 2, Conversion::Unsigned, &ArmamentValues::Silhouette,
     SpinLimits(0, 800)},
    {"AttackAir", Region::ArmamentEntry, 20, 1, Conversion::Unsigned, &ArmamentValues::AttackAir,
     SpinLimits(0, 255)},
    {"AttackArmour", Region::ArmamentEntry, 24, 1, Conversion::Unsigned,
     &ArmamentValues::AttackArmour, SpinLimits(0, 255)},
    {"AttackPersonnel", Region::ArmamentEntry, 28, 1, Conversion::Unsigned,
     &ArmamentValues::AttackPersonnel, SpinLimits(0, 255)},
    {"AttackShip", Region::ArmamentEntry, 32, 1, Conversion::Unsigned, &ArmamentValues::AttackShip,
     SpinLimits(0, 255)},
    {"AttackSubmarine", Region::ArmamentEntry, 36, 1, Conversion::Unsigned,
     &ArmamentValues::AttackSubmarine, SpinLimits(0, 255)},
    {"RangeAir1", Region::ArmamentEntry, 40, 1, Conversion::Unsigned, &ArmamentValues::RangeAir1,
     SpinLimits(0, 255)},
    {"RangeAir2", Region::ArmamentEntry, 44, 1, Conversion::Unsigned, &ArmamentValues::RangeAir2,
     SpinLimits(0, 255)},
    {"RangeGround1", Region::ArmamentEntry, 48, 1, Conversion::Unsigned,
     &ArmamentValues::RangeGround1, SpinLimits(0, 255)},
    {"RangeGround2", Region::ArmamentEntry, 52, 1, Conversion::Unsigned,
     &ArmamentValues::RangeGround2, SpinLimits(0, 255)},
    {"Accuracy", Region::ArmamentEntry, 56, 1, Conversion::Unsigned, &ArmamentValues::Accuracy,
     SpinLimits(0, 99)},
    {"PriorityAir1", Region::ArmamentEntry, 60, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityAir1, SpinLimits(0, 99)},
    {"PriorityAir2", Region::ArmamentEntry, 64, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityAir2, SpinLimits(0, 99)},
    {"PriorityGround1", Region::ArmamentEntry, 68, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityGround1, SpinLimits(0, 99)},
    {"PriorityGround2", Region::ArmamentEntry, 72, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityGround2, SpinLimits(0, 99)},
    {"Price", Region::ArmamentEntry, 76, 1, Conversion::Unsigned, &ArmamentValues::Price,
     SpinLimits(0, 255)},
    {"Special", Region::ArmamentEntry, 80, 1, Conversion::Unsigned, &ArmamentValues::Special,
     SpinLimits(0, 99)},
}};

// The value that `width` bytes (little-endian) of a field stand for.
int32_t DecodeField(Conversion conversion, int32_t width, const uint8_t* bytes);

// The `width` bytes that store `value`: its low bits, little-endian (Level adds 1 first).
void EncodeField(Conversion conversion, int32_t width, int32_t value, uint8_t* bytes);

// The bytes that a load of the `stored` bytes into the window and an immediate save leave in
// their place: the value as the codec loads it, as its control holds it, as the codec saves it.
void BytesAfterSave(Conversion conversion, int32_t width, const ShownRange& shown,
                    const uint8_t* stored, uint8_t* saved);

struct ValueRange
{
    int32_t low;
    int32_t high;

    bool operator==(const ValueRange&) const = default;
};

// Every value that a load can give a field of this conversion and width.
ValueRange LoadableRange(Conversion conversion, int32_t width);

// The loadable values that a load into the window and a save leave as they are.
ValueRange KeptRange(Conversion conversion, int32_t width, const ShownRange& shown);

} // namespace kt63
