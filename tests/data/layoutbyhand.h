#pragma once

#include <cstdint>

// The file layout written out by hand from the format's tables, apart from the codec's own
// field table, so that a slip in either shows up in the tests.
namespace kt63::test::layout {

struct Place
{
    int32_t offset;
    int32_t width;
};

// The weapon record's 27 fields, in file order.
inline constexpr Place kWeaponPlaces[27] = {
    {0, 1},   {4, 1},   {12, 1},  {28, 1},  {32, 1},  {40, 1},  {44, 1},  {48, 1},  {56, 2},
    {64, 4},  {68, 1},  {72, 1},  {76, 1},  {80, 1},  {84, 1},  {88, 1},  {92, 1},  {96, 1},
    {100, 2}, {104, 2}, {108, 2}, {112, 2}, {116, 2}, {125, 1}, {126, 1}, {128, 1}, {144, 1}};
inline constexpr int kLevelIndex = 17; // Level stores the item index plus 1

// The armament entry's 20 fields, in file order.
inline constexpr Place kEntryPlaces[20] = {
    {0, 2},  {8, 2},  {12, 1}, {16, 2}, {20, 1}, {24, 1}, {28, 1}, {32, 1}, {36, 1}, {40, 1},
    {44, 1}, {48, 1}, {52, 1}, {56, 1}, {60, 1}, {64, 1}, {68, 1}, {72, 1}, {76, 1}, {80, 1}};

constexpr int32_t RecordAt(int32_t n)
{
    return 1549800 + 372 * n;
}
constexpr int32_t SlotAt(int32_t n, int32_t s)
{
    return RecordAt(n) + 148 + 36 * s;
}
constexpr int32_t AmmunitionAt(int32_t n, int32_t s, int32_t t)
{
    return SlotAt(n, s) + 4 + 4 * t;
}
constexpr int32_t EntryAt(int32_t m, int32_t t)
{
    return 27040 + 672 * m + 84 * t;
}

} // namespace kt63::test::layout
