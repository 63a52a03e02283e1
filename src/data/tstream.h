#pragma once

#include <cstdint>

namespace kt63 {

// Seek origins, as 16-bit numbers.
inline constexpr uint16_t soFromBeginning = 0;
inline constexpr uint16_t soFromCurrent = 1;
inline constexpr uint16_t soFromEnd = 2;

// A byte stream with a position. Seeking, reading and writing never raise an error: callers
// that care look at the counts, and the codec deliberately does not.
class TStream
{
public:
    virtual ~TStream() = default;

    // Moves the position; gives the new position from the beginning, or -1 when the move is
    // refused (the position then stays where it was).
    virtual int32_t Seek(int32_t offset, uint16_t origin) = 0;

    // Transfers up to `count` bytes from the position into `buffer` and gives how many were
    // transferred. Bytes of `buffer` beyond those keep what they held.
    virtual int32_t Read(void* buffer, int32_t count) = 0;

    // Writes `count` bytes at the position; writing past the end lengthens the stream.
    virtual int32_t Write(const void* buffer, int32_t count) = 0;

    // Measures the stream through the position and puts the position back where it was.
    int32_t Size();
};

} // namespace kt63
