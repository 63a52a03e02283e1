#pragma once

#include "recordvalues.h"

#include <cstdint>

namespace kt63 {

class HeldDataFile;

// The four numbers that select what a load or save touches.
struct RecordAddress
{
    int32_t weapon;   // 1 to 1921
    int32_t slot;     // 0 to 5
    int32_t armament; // 0 to 1920
    int32_t tab;      // 0 to 7
};

struct LoadedWeapon
{
    int32_t armament; // always the weapon number minus 1
    WeaponValues weapon;
    ArmamentValues armamentValues;
};

// Reads the 27 fields of weapon `weapon`, then the fields of `slot` and `tab` in armament group
// weapon - 1 as LoadArmament does. Each field is its own seek and read, straight from the file;
// when any of them fails, the error (see HeldDataFile) is thrown and nothing is given.
LoadedWeapon LoadWeapon(HeldDataFile& file, int32_t weapon, int32_t slot, int32_t tab);

// Reads the slot's equipment kind and ammunition cell and the armament entry's 20 fields.
ArmamentValues LoadArmament(HeldDataFile& file, const RecordAddress& address);

// Writes the same 49 fields, 61 bytes, in the same order; no other byte of the file changes.
// The held file first reads the bytes the save replaces (the weapon record and the armament
// entry, one read each) and last syncs the writes to the storage; when anything fails, what was
// written is put back and the error is thrown.
void SaveWeapon(HeldDataFile& file, const RecordAddress& address, const WeaponValues& weapon,
                const ArmamentValues& armament);

// Each operation first checks its numbers and throws ERangeError, touching nothing, when one
// lies outside its range: an address out of range would point into bytes that are the game's.

} // namespace kt63
