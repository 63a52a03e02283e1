#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kt63 {

class TStream;

// Writes fields one at a time and keeps the bytes each write replaces, so that when a write or
// the closing sync fails, every byte written so far is put back before the error is reported:
// a failed save leaves the file as it was before.
class WriteJournal
{
public:
    explicit WriteJournal(TStream& file) : mFile(file) {}

    // Writes `width` (at most 4) bytes at the stream's position, which the caller has moved to
    // `offset` from the beginning; `before` are the bytes there now. When the write falls
    // short, puts everything back and throws EWriteError.
    void Write(int32_t offset, const uint8_t* bytes, const uint8_t* before, int32_t width);

    // Puts the writes onto the storage. When that fails, puts everything back and throws
    // EWriteError.
    void Commit();

    // Writes back the bytes that every write so far replaced, newest first, and syncs them.
    // Gives false when any of that fails too.
    bool RollBack();

private:
    [[noreturn]] void Fail();

    struct Entry
    {
        int32_t offset;
        std::array<uint8_t, 4> before;
        int32_t written; // how many of the bytes the write reached
    };

    TStream& mFile;
    std::vector<Entry> mEntries;
};

} // namespace kt63
