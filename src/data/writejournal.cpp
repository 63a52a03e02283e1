#include "writejournal.h"

#include "tstream.h"

#include <algorithm>

namespace kt63 {

int32_t WriteJournal::Write(int32_t offset, const uint8_t* bytes, const uint8_t* before,
                            int32_t width)
{
    const Entry entry{offset, mFile.Write(bytes, width), static_cast<uint32_t>(mBefore.size())};
    if (entry.written > 0) {
        mBefore.insert(mBefore.end(), before, before + entry.written);
        mEntries.push_back(entry);
    }
    return entry.written;
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
        restored = mFile.Seek(entry->offset, soFromBeginning) == entry->offset &&
                   mFile.Write(mBefore.data() + entry->before, reach) == reach && restored;
    }
    if (putAny)
        restored = mFile.Sync() && restored;
    mPutBack = restored;
    return restored ? Undo::PutBack : Undo::MaybePartlyWritten;
}

} // namespace kt63
