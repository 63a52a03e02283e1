#include "writejournal.h"

#include "tstream.h"

#include <algorithm>

namespace kt63 {

int32_t WriteJournal::Write(int32_t offset, const uint8_t* bytes, const uint8_t* before,
                            int32_t width)
{
    return Note(offset, mFile.Write(bytes, width), before);
}

int32_t WriteJournal::WriteAt(int32_t offset, const uint8_t* bytes, const uint8_t* before,
                              int32_t width)
{
    return Note(offset, mFile.WriteAt(offset, bytes, width), before);
}

// Keeps the bytes before of as much as the write reached, a part of it included.
int32_t WriteJournal::Note(int32_t offset, int32_t written, const uint8_t* before)
{
    if (written > 0) {
        mEntries.push_back({offset, written, static_cast<uint32_t>(mBefore.size())});
        mBefore.insert(mBefore.end(), before, before + written);
    }
    return written;
}

Undo WriteJournal::RollBack(int64_t end)
{
    if (mEntries.empty())
        return Undo::NothingWritten;
    bool restored = true;
    bool putAny = false;
    for (auto entry = mEntries.rbegin(); entry != mEntries.rend(); ++entry) {
        const auto reach =
            static_cast<int32_t>(std::min<int64_t>(entry->written, end - entry->offset));
        if (reach <= 0)
            continue;
        putAny = true;
        restored = mFile.WriteAt(entry->offset, mBefore.data() + entry->before, reach) == reach &&
                   restored;
    }
    if (putAny)
        restored = mFile.Sync() && restored;
    mPutBack = restored;
    return restored ? Undo::PutBack : Undo::MaybePartlyWritten;
}

} // namespace kt63
