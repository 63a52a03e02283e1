#pragma once

#include "testfiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kt63::test {

inline constexpr size_t DataFileSize = 2264784;

// Absolute offsets written out by hand, so that the tests do not take them from the code.
constexpr int32_t WeaponAt(int32_t weapon, int32_t offset)
{
    return 1549800 + 372 * weapon + offset;
}
constexpr int32_t SlotAt(int32_t weapon, int32_t slot, int32_t offset)
{
    return WeaponAt(weapon, 148 + 36 * slot + offset);
}
constexpr int32_t ArmamentAt(int32_t group, int32_t tab, int32_t offset)
{
    return 27040 + 672 * group + 84 * tab + offset;
}

// One field of a table row, written out by hand: its column name, offset in the row, width.
struct HandField
{
    std::string name;
    int32_t offset;
    int32_t width;
};

const std::vector<HandField>& WeaponLayout();
const std::vector<HandField>& SlotLayout();
const std::vector<HandField>& ArmamentLayout();

// The value a dump must show for `field` at row offset `row`: little-endian, unsigned, except
// the 4-byte field, which is signed.
int64_t Stored(const Bytes& bytes, int32_t row, const HandField& field);

// Stores the low `width` bytes of `value`, little-endian, at `at`.
void Put(Bytes& bytes, int32_t at, int32_t width, int64_t value);

// A weapon name list file: each name after a zero byte, then the list number.
Bytes NameListFile(const std::vector<std::string>& names, int16_t listNumber);

// The whole text of a file.
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// The file's modification time in nanoseconds, and a way to set it: a write, even of the same
// bytes, moves it, so a test can tell that nothing was written.
int64_t ModifiedAt(const std::string& path);
void SetModifiedAt(const std::string& path, int64_t nanoseconds);

} // namespace kt63::test
