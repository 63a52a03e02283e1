#pragma once

#include "recordvalues.h"

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
};

using WeaponField = FieldSpec<WeaponValues>;
using ArmamentField = FieldSpec<ArmamentValues>;

// The weapon record's fields in the order they are read and written. Every byte between them
// belongs to the game and is never touched.
inline constexpr std::array<WeaponField, 27> WeaponFields{{
    {"UnitBranch", Region::WeaponRecord, 0, 1, Conversion::Unsigned, &WeaponValues::UnitBranch},
    {"ProducingCountry", Region::WeaponRecord, 4, 1, Conversion::Unsigned,
     &WeaponValues::ProducingCountry},
    {"MachineCount", Region::WeaponRecord, 12, 1, Conversion::Unsigned,
     &WeaponValues::MachineCount},
    {"Speed", Region::WeaponRecord, 28, 1, Conversion::Unsigned, &WeaponValues::Speed},
    {"SearchRange", Region::WeaponRecord, 32, 1, Conversion::Unsigned, &WeaponValues::SearchRange},
    {"DefenceAir", Region::WeaponRecord, 40, 1, Conversion::Unsigned, &WeaponValues::DefenceAir},
    {"DefenceGround", Region::WeaponRecord, 44, 1, Conversion::Unsigned,
     &WeaponValues::DefenceGround},
    {"Weight", Region::WeaponRecord, 48, 1, Conversion::Unsigned, &WeaponValues::Weight},
    {"Fuel", Region::WeaponRecord, 56, 2, Conversion::Unsigned, &WeaponValues::Fuel},
    {"CanBeCarried", Region::WeaponRecord, 64, 4, Conversion::Signed32,
     &WeaponValues::CanBeCarried},
    {"CarriedOnShips", Region::WeaponRecord, 68, 1, Conversion::Unsigned,
     &WeaponValues::CarriedOnShips},
    {"Troops", Region::WeaponRecord, 72, 1, Conversion::Unsigned, &WeaponValues::Troops},
    {"LightGuns", Region::WeaponRecord, 76, 1, Conversion::Unsigned, &WeaponValues::LightGuns},
    {"HeavyGuns", Region::WeaponRecord, 80, 1, Conversion::Unsigned, &WeaponValues::HeavyGuns},
    {"Airborne", Region::WeaponRecord, 84, 1, Conversion::Unsigned, &WeaponValues::Airborne},
    {"AirTransport", Region::WeaponRecord, 88, 1, Conversion::Unsigned,
     &WeaponValues::AirTransport},
    {"Transport", Region::WeaponRecord, 92, 1, Conversion::Unsigned, &WeaponValues::Transport},
    {"Level", Region::WeaponRecord, 96, 1, Conversion::Level, &WeaponValues::Level},
    {"Improvement1", Region::WeaponRecord, 100, 2, Conversion::Unsigned,
     &WeaponValues::Improvement1},
    {"Improvement2", Region::WeaponRecord, 104, 2, Conversion::Unsigned,
     &WeaponValues::Improvement2},
    {"Improvement3", Region::WeaponRecord, 108, 2, Conversion::Unsigned,
     &WeaponValues::Improvement3},
    {"Improvement4", Region::WeaponRecord, 112, 2, Conversion::Unsigned,
     &WeaponValues::Improvement4},
    {"Improvement5", Region::WeaponRecord, 116, 2, Conversion::Unsigned,
     &WeaponValues::Improvement5},
    {"Month", Region::WeaponRecord, 125, 1, Conversion::Unsigned, &WeaponValues::Month},
    {"Year", Region::WeaponRecord, 126, 1, Conversion::Unsigned, &WeaponValues::Year},
    {"Appearance", Region::WeaponRecord, 128, 1, Conversion::Unsigned, &WeaponValues::Appearance},
    {"Theatre", Region::WeaponRecord, 144, 1, Conversion::Unsigned, &WeaponValues::Theatre},
}};

// The slot's two fields, then the armament entry's twenty. From entry offset 20 on each field
// is the first byte of a 4-byte cell whose other three bytes are the game's.
inline constexpr std::array<ArmamentField, 22> ArmamentFields{{
    {"EquipmentKind", Region::SlotEntry, 0, 1, Conversion::Unsigned,
     &ArmamentValues::EquipmentKind},
    {"Ammunition", Region::AmmunitionCell, 0, 1, Conversion::Unsigned, &ArmamentValues::Ammunition},
    {"NameNumber", Region::ArmamentEntry, 0, 2, Conversion::Unsigned, &ArmamentValues::NameNumber},
    {"ArmamentKind", Region::ArmamentEntry, 8, 2, Conversion::Unsigned,
     &ArmamentValues::ArmamentKind},
    {"ArmamentCount", Region::ArmamentEntry, 12, 1, Conversion::Unsigned,
     &ArmamentValues::ArmamentCount},
    {"Silhouette", Region::ArmamentEntry, 16, 2, Conversion::Unsigned, &ArmamentValues::Silhouette},
    {"AttackAir", Region::ArmamentEntry, 20, 1, Conversion::Unsigned, &ArmamentValues::AttackAir},
    {"AttackArmour", Region::ArmamentEntry, 24, 1, Conversion::Unsigned,
     &ArmamentValues::AttackArmour},
    {"AttackPersonnel", Region::ArmamentEntry, 28, 1, Conversion::Unsigned,
     &ArmamentValues::AttackPersonnel},
    {"AttackShip", Region::ArmamentEntry, 32, 1, Conversion::Unsigned, &ArmamentValues::AttackShip},
    {"AttackSubmarine", Region::ArmamentEntry, 36, 1, Conversion::Unsigned,
     &ArmamentValues::AttackSubmarine},
    {"RangeAir1", Region::ArmamentEntry, 40, 1, Conversion::Unsigned, &ArmamentValues::RangeAir1},
    {"RangeAir2", Region::ArmamentEntry, 44, 1, Conversion::Unsigned, &ArmamentValues::RangeAir2},
    {"RangeGround1", Region::ArmamentEntry, 48, 1, Conversion::Unsigned,
     &ArmamentValues::RangeGround1},
    {"RangeGround2", Region::ArmamentEntry, 52, 1, Conversion::Unsigned,
     &ArmamentValues::RangeGround2},
    {"Accuracy", Region::ArmamentEntry, 56, 1, Conversion::Unsigned, &ArmamentValues::Accuracy},
    {"PriorityAir1", Region::ArmamentEntry, 60, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityAir1},
    {"PriorityAir2", Region::ArmamentEntry, 64, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityAir2},
    {"PriorityGround1", Region::ArmamentEntry, 68, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityGround1},
    {"PriorityGround2", Region::ArmamentEntry, 72, 1, Conversion::Unsigned,
     &ArmamentValues::PriorityGround2},
    {"Price", Region::ArmamentEntry, 76, 1, Conversion::Unsigned, &ArmamentValues::Price},
    {"Special", Region::ArmamentEntry, 80, 1, Conversion::Unsigned, &ArmamentValues::Special},
}};

// The value that `width` bytes (little-endian) of a field stand for.
int32_t DecodeField(Conversion conversion, int32_t width, const uint8_t* bytes);

// The `width` bytes that store `value`: its low bits, little-endian (Level adds 1 first).
void EncodeField(Conversion conversion, int32_t width, int32_t value, uint8_t* bytes);

} // namespace kt63
