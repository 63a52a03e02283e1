#pragma once

#include "tstream.h"

#include <cstdint>
#include <vector>

namespace kt63 {
struct RecordAddress;
}

namespace kt63::bench {

// A seek origin of the plan that stands for "no seek: the field follows the previous one".
inline constexpr int16_t NoSeek = -1;

// One field transfer as the operating system sees it: an optional lseek, then one read or
// write of `width` bytes.
struct SyscallStep
{
    int32_t offset; // absolute for SEEK_SET, the gap for SEEK_CUR, unused for NoSeek
    int16_t whence; // SEEK_SET, SEEK_CUR or NoSeek
    int16_t width;

    bool operator==(const SyscallStep&) const = default;
};

using SyscallPlan = std::vector<SyscallStep>;

// The lseek/read sequence that a load of all 49 fields of `address` makes (a save makes the same
// one with writes), derived from the field tables: a field that starts a region seeks there
// absolutely, a gap inside a region is skipped from the current position, and a field that
// follows directly needs no seek.
SyscallPlan CodecPlan(const RecordAddress& address);

// The reads a save makes before its first write, to keep the bytes it replaces: the weapon
// record and the armament entry, one absolute seek and one read each.
SyscallPlan BytesBeforeSavePlan(const RecordAddress& address);

// A whole save: BytesBeforeSavePlan's reads, then CodecPlan's writes.
SyscallPlan SavePlan(const RecordAddress& address);

// The sequences that LoadWeapon and SaveWeapon really make for `address`, watched through a
// stream that only records; the benchmarks compare them with CodecPlan and SavePlan before
// timing, so the floor is known to be the codec's own sequence.
SyscallPlan RecordedLoadPlan(const RecordAddress& address);
SyscallPlan RecordedSavePlan(const RecordAddress& address);

// The number of lseek calls in `plan`.
int CountSeeks(const SyscallPlan& plan);

// A stream without a file that keeps only its position and passes for a data file of the
// minimum length that nobody else touches, so that the codec can run on it without the system.
class PositionStream : public TStream
{
public:
    int32_t Seek(int32_t offset, uint16_t origin) override;
    int32_t Read(void*, int32_t count) override { return Advance(count); }
    int32_t Write(const void*, int32_t count) override { return Advance(count); }
    int64_t Size() override;
    StreamStatus CurrentStatus() override;

protected:
    int32_t Advance(int32_t count);

private:
    int32_t mPosition = 0;
};

} // namespace kt63::bench
