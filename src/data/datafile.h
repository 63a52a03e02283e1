#pragma once

#include "datalayout.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace kt63 {

class TStream;
class TFileStream;

using ArmamentNameArea = std::array<uint8_t, NameAreaSize>;

// Opens the game's data file for reading and writing while other programs may only read it.
// Throws EFOpenError when it cannot be opened and EFTooShortError (after closing it again) when
// it ends before the weapon table does, so that no save can write past its end.
std::unique_ptr<TFileStream> OpenDataFile(const std::string& path);

// Checks, before a load or a save touches the held data file, that it is still the file that was
// opened: that its path still names it and that it still reaches the end of the weapon table.
// Throws EFChangedError, naming the path as it was opened, when another program has replaced,
// deleted or cut it short.
void CheckDataFileHeld(const TFileStream& file);

// Reads the armament name area in one read. Bytes a short read does not reach keep what the
// buffer held before.
void ReadArmamentNameArea(TStream& file, ArmamentNameArea& buffer);

} // namespace kt63
