#pragma once

#include "recordvalues.h"

#include <cstdint>

namespace kt63 {

class TStream;

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

// Reads the 27 fields of weapon `weapon`, then, by LoadArmament, the fields of `slot` and `tab`
// in armament group weapon - 1. Each field is its own seek and read, straight from the file.
LoadedWeapon LoadWeapon(TStream& file, int32_t weapon, int32_t slot, int32_t tab);

// Reads the slot's equipment kind and ammunition cell and the armament entry's 20 fields.
ArmamentValues LoadArmament(TStream& file, const RecordAddress& address);

// Writes the same 49 fields, 61 bytes, in the same order; no other byte of the file changes.
// First the bytes the save replaces are read (the weapon record and the armament entry, one read
// each), last the writes are synced to the storage. When a write or the sync fails, the bytes
// already written are put back and EWriteError is thrown; when they cannot be read, EReadError
// or EFChangedError, and nothing is written.
void SaveWeapon(TStream& file, const RecordAddress& address, const WeaponValues& weapon,
                const ArmamentValues& armament);

// Each operation first checks its numbers and throws ERangeError, touching nothing, when one
// lies outside its range: an address out of range would point into bytes that are the game's.

} // namespace kt63
