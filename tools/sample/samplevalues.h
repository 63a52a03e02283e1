#pragma once

#include "recordvalues.h"

#include <cstdint>

namespace kt63::sample {

class SampleRandom;

// Values for weapon `weapon`: mostly inside the ranges the window shows, some over the field's
// whole width. Weapon 1 carries fixed values outside the window's ranges (see the .cpp), so that
// tests know where to find them.
WeaponValues SampleWeapon(int32_t weapon, SampleRandom& random);

// Values of one slot cell and armament entry; armament group 0, tab 0 again carries fixed ones.
ArmamentValues SampleArmament(int32_t armament, int32_t tab, SampleRandom& random);

// The equipment kind and ammunition of one slot cell, drawn anew.
void SampleSlotCell(ArmamentValues& values, SampleRandom& random);

} // namespace kt63::sample
