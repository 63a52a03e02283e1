#include "writejournal.h"

#include "exception.h"
#include "tstream.h"

#include <algorithm>
#include <cerrno>

namespace kt63 {

void WriteJournal::Write(int32_t offset, const uint8_t* bytes, const uint8_t* before, int32_t width)
{
    Entry entry{offset, {}, 0};
    std::copy_n(before, width, entry.before.begin());
    entry.written = mFile.Write(bytes, width);
    mEntries.push_back(entry);
    if (entry.written != width)
        Fail();
}

void WriteJournal::Commit()
{
    if (!mFile.Sync())
        Fail();
}

bool WriteJournal::RollBack()
{
    bool restored = true;
    for (auto entry = mEntries.rbegin(); entry != mEntries.rend(); ++entry) {
        if (entry->written == 0)
            continue;
        restored = mFile.Seek(entry->offset, soFromBeginning) == entry->offset &&
                   mFile.Write(entry->before.data(), entry->written) == entry->written && restored;
    }
    return mFile.Sync() && restored;
}

// The error number is taken before the roll-back, whose own calls replace it.
void WriteJournal::Fail()
{
    const int error = mFile.LastError() != 0 ? mFile.LastError() : EIO;
    const bool restored = RollBack();
    throw EWriteError(mFile.FileName(), error, restored);
}

} // namespace kt63
