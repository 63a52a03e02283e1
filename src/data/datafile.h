#pragma once

#include "datalayout.h"

#include <array>
#include <cstdint>

namespace kt63 {

class HeldDataFile;

using ArmamentNameArea = std::array<uint8_t, NameAreaSize>;

// Reads the armament name area in one read, whole, into `buffer`. When it cannot, throws and
// leaves `buffer` as it was.
void ReadArmamentNameArea(HeldDataFile& file, ArmamentNameArea& buffer);

} // namespace kt63
