#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

namespace kt63::sample {

class SampleRandom;

// An armament name area of `areaSize` bytes: names in code page 932, each after one or two zero
// bytes, as many as fit, then zero bytes to the end. The names mix kanji, kana, half-width
// katakana and ASCII, and some are 24 bytes and longer.
QByteArray SampleArmamentNameArea(int32_t areaSize, SampleRandom& random);

// The name of weapon `weapon` in code page 932, at most 24 bytes; it starts with the number.
QByteArray SampleWeaponName(int32_t weapon, SampleRandom& random);

// Names of list entries that stand in front of the weapons and name none.
QList<QByteArray> SampleLeadingNames();

} // namespace kt63::sample
