#pragma once

#include "recordvalues.h"
#include "weaponcodec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kt63::bench {

// What one benchmark iteration loads or saves. The benchmarks walk a fixed list of these in
// turn, so that weapon numbers, slots and tabs vary from call to call.
struct Job
{
    RecordAddress address;
    WeaponValues weapon;
    ArmamentValues armament;
};

// `count` jobs at pseudo-random addresses over the whole tables, with pseudo-random 32-bit
// values. With `loading` set every armament number is the weapon number minus one, as
// LoadWeapon makes it.
std::vector<Job> RandomJobs(size_t count, uint32_t seed, bool loading);

// The shared lists the benchmarks walk: 256 jobs each, for loading and for saving.
inline constexpr size_t JobCount = 256;
const std::vector<Job>& LoadJobs();
const std::vector<Job>& SaveJobs();

// The 61 bytes a save of `job` writes, in the order it writes them.
std::vector<uint8_t> EncodedFields(const Job& job);

// `size` bytes of Shift-JIS-like names of 1 to 30 bytes (so some are cut at 24), each after one
// to three zero bytes; the area begins with a zero byte so that its first name is found.
std::vector<uint8_t> SyntheticNamesArea(size_t size, uint32_t seed);

} // namespace kt63::bench
