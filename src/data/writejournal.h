#pragma once

#include "exception.h"

#include <cstdint>
#include <vector>

namespace kt63 {

class TStream;

// The writes of one change, each with the bytes it replaced, so that a change that fails can be
// undone: every byte written is put back before the failure is reported.
class WriteJournal
{
public:
    explicit WriteJournal(TStream& file) : mFile(file) {}

    // Writes `width` bytes at the stream's position, which the caller has moved to `offset`;
    // `before` are the bytes there now. Gives how many bytes the write reached.
    int32_t Write(int32_t offset, const uint8_t* bytes, const uint8_t* before, int32_t width);

    // Write, at `offset` whatever the position.
    int32_t WriteAt(int32_t offset, const uint8_t* bytes, const uint8_t* before, int32_t width);

    // Writes back the bytes that every write so far replaced, newest first, and syncs them.
    // Bytes at or beyond `end` are left alone: a file another program cut short is not made
    // long again. Gives what is left of the change.
    Undo RollBack(int64_t end);

    // Whether none of the change is in the file: nothing was written, or all of it was put back.
    bool IsUndone() const { return mEntries.empty() || mPutBack; }

private:
    int32_t Note(int32_t offset, int32_t written, const uint8_t* before);

    struct Entry
    {
        int32_t offset;
        int32_t written; // how many of the bytes the write reached
        uint32_t before; // where its bytes before begin in mBefore
    };

    TStream& mFile;
    std::vector<Entry> mEntries;
    std::vector<uint8_t> mBefore; // of every entry, one after the other
    bool mPutBack = false;
};

} // namespace kt63
