#pragma once

#include <cstdint>

// Where the game keeps its weapon and armament data inside its data library file. The offsets
// fit one release of that file; nothing in the file says where things are.
namespace kt63 {

inline constexpr int32_t ArmamentTableBase = 27040;
inline constexpr int32_t ArmamentGroupSize = 672;
inline constexpr int32_t ArmamentEntrySize = 84;
inline constexpr int32_t ArmamentTabCount = 8;
inline constexpr int32_t NameAreaOffset = 1466051;
inline constexpr int32_t NameAreaSize = 14097;
inline constexpr int32_t WeaponTableBase = 1549800;
inline constexpr int32_t WeaponRecordSize = 372;
inline constexpr int32_t WeaponCount = 1921;
inline constexpr int32_t SlotTableOffset = 148;
inline constexpr int32_t SlotEntrySize = 36;
inline constexpr int32_t SlotCount = 6;

// Armament groups are numbered 0 to 1920, one group per weapon number minus one.
inline constexpr int32_t ArmamentGroupCount = WeaponCount;

// The armament group that a load of weapon `weapon` shows.
constexpr int32_t ArmamentOfWeapon(int32_t weapon)
{
    return weapon - 1;
}

// The weapon table is addressed with the weapon number itself, so it ends one record past
// weapon 1920: a file shorter than this cannot hold every weapon.
inline constexpr int32_t DataFileMinimumSize =
    WeaponTableBase + WeaponRecordSize * (WeaponCount + 1);

constexpr int32_t WeaponRecordOffset(int32_t weapon)
{
    return WeaponTableBase + WeaponRecordSize * weapon;
}

constexpr int32_t SlotEntryOffset(int32_t weapon, int32_t slot)
{
    return WeaponRecordOffset(weapon) + SlotTableOffset + SlotEntrySize * slot;
}

constexpr int32_t AmmunitionCellOffset(int32_t weapon, int32_t slot, int32_t tab)
{
    return SlotEntryOffset(weapon, slot) + 4 + 4 * tab;
}

constexpr int32_t ArmamentEntryOffset(int32_t armament, int32_t tab)
{
    return ArmamentTableBase + ArmamentGroupSize * armament + ArmamentEntrySize * tab;
}

static_assert(DataFileMinimumSize == 2264784);
static_assert(ArmamentEntryOffset(ArmamentGroupCount - 1, ArmamentTabCount - 1) +
                  ArmamentEntrySize ==
              1317952);

} // namespace kt63
