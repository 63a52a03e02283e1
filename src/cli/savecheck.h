#pragma once

#include "tablediff.h"

#include <cstdint>
#include <vector>

namespace kt63 {

class DataImage;

// The fields whose stored values a load of weapon `weapon` into the editor's window and an
// immediate save would change: a stored value outside the range the window shows comes back at
// the nearest end. Covers what a save with any slot and tab writes, in this order: the weapon's
// record, its six slots (equipment kind and ammunition cells), then the eight entries of the
// armament group the load shows.
std::vector<FieldChange> CheckSave(const DataImage& image, int32_t weapon);

// The same for every weapon, weapon by weapon, as a diff of the file against what the saves
// would leave (which has no stray bytes: a save writes fields only).
TableDiff CheckSaves(const DataImage& image);

} // namespace kt63
