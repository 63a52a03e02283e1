#pragma once

#include <cstdint>
#include <string>

namespace kt63 {

// Seek origins, as 16-bit numbers.
inline constexpr uint16_t soFromBeginning = 0;
inline constexpr uint16_t soFromCurrent = 1;
inline constexpr uint16_t soFromEnd = 2;

// A byte stream with a position. Seeking, reading and writing never raise an error: callers
// that care look at the counts, and at LastError for the system's reason.
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

    // Writes `count` bytes at the position and gives how many were written; writing past the
    // end lengthens the stream.
    virtual int32_t Write(const void* buffer, int32_t count) = 0;

    // Puts what has been written onto the storage, so that it survives a crash or a power cut.
    // Gives false when the system reports that it could not.
    virtual bool Sync() { return true; }

    // The name errors give the stream: the path a file was opened by; empty for memory.
    virtual std::string FileName() const { return {}; }

    // The system's error number of the latest Read, Write or Sync: 0 when it succeeded, or when
    // a read merely met the end of the stream.
    int LastError() const { return mLastError; }

    // Measures the stream through the position and puts the position back where it was.
    int32_t Size();

protected:
    void SetLastError(int error) { mLastError = error; }

private:
    int mLastError = 0;
};

} // namespace kt63
