#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace kt63::sample {

// The list number of the sample "WN.dat": its first three entries name no weapon.
inline constexpr int32_t SampleListNumber = 3;

// A synthetic game data file of exactly the size the editor needs. Every byte the editor never
// touches comes from the generator too, so a stray write shows in a comparison.
QByteArray MakeSampleDataFile(uint32_t seed);

// A synthetic "WN.dat": three leading entries, then names for weapons 1921 down to 1, then the
// list number 3.
QByteArray MakeSampleNameList(uint32_t seed);

// Writes "Qelvint.dll" and "WN.dat" into `folder`, replacing files of those names. Gives an
// empty text on success, else what went wrong.
QString WriteSampleFiles(const QString& folder, uint32_t seed);

} // namespace kt63::sample
