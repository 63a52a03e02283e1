#include "journalrecovery.h"

#include "exception.h"
#include "helddatafile.h"
#include "journalstore.h"

#include <algorithm>

namespace kt63 {

namespace {

// The one run of bytes that holds every field of the change. Every entry is one of the tables'
// fields, so the run lies inside the tables, whatever the journal says.
ByteSpan Covering(const RollbackJournal& journal)
{
    int64_t first = journal.entries.front().offset;
    int64_t end = first;
    for (const JournalEntry& entry : journal.entries) {
        first = std::min<int64_t>(first, entry.offset);
        end = std::max<int64_t>(end, int64_t{entry.offset} + entry.width);
    }
    return {static_cast<int32_t>(first), static_cast<int32_t>(end - first)};
}

// The change's fields as they are in the file now.
class FieldsNow
{
public:
    FieldsNow(HeldDataFile& file, const RollbackJournal& journal)
    {
        if (journal.entries.empty())
            return;
        mSpan = Covering(journal);
        mBytes.resize(static_cast<size_t>(mSpan.size));
        file.Read(mSpan, mBytes.data());
    }

    const ByteSpan& Span() const { return mSpan; }

    bool Holds(const JournalEntry& entry, const FieldBytes& bytes) const
    {
        const auto at = mBytes.begin() + (entry.offset - mSpan.offset);
        return std::equal(at, at + entry.width, bytes.begin());
    }

    // The offset of the entry's first byte that holds neither its old nor its new value, or -1.
    int64_t StrangeByte(const JournalEntry& entry) const
    {
        for (int32_t i = 0; i < entry.width; ++i) {
            const uint8_t byte = mBytes[static_cast<size_t>(entry.offset - mSpan.offset + i)];
            const auto at = static_cast<size_t>(i);
            if (byte != entry.before[at] && byte != entry.after[at])
                return int64_t{entry.offset} + i;
        }
        return -1;
    }

private:
    ByteSpan mSpan{0, 0};
    std::vector<uint8_t> mBytes;
};

// What the change is to the file: not begun, unfinished, finished, or changed since.
JournalVerdict StateOf(const FieldsNow& now, const RollbackJournal& journal, int64_t& changedAt)
{
    bool allOld = true;
    bool allNew = true;
    for (const JournalEntry& entry : journal.entries) {
        if ((changedAt = now.StrangeByte(entry)) >= 0)
            return JournalVerdict::ChangedSince;
        allOld = allOld && now.Holds(entry, entry.before);
        allNew = allNew && now.Holds(entry, entry.after);
    }
    return allOld   ? JournalVerdict::NotBegun
           : allNew ? JournalVerdict::Finished
                    : JournalVerdict::Unfinished;
}

// A damaged journal may be thrown away only when it shows that the file is wholly old: every
// entry it counts holds its old bytes, or, for one cut short (as a crash while it was written
// leaves it, before the first write to the file), every entry that is left does.
JournalVerdict DamagedVerdict(HeldDataFile& file, const DecodedJournal& decoded)
{
    const bool shows = decoded.allEntries || (decoded.cutShort && !decoded.journal.entries.empty());
    if (!shows)
        return JournalVerdict::Damaged;
    const FieldsNow now(file, decoded.journal);
    for (const JournalEntry& entry : decoded.journal.entries)
        if (!now.Holds(entry, entry.before))
            return JournalVerdict::Damaged;
    return JournalVerdict::Incomplete;
}

JournalVerdict VerdictOf(HeldDataFile& file, const DecodedJournal& decoded)
{
    switch (decoded.form) {
    case JournalForm::Incomplete:
        return JournalVerdict::Incomplete;
    case JournalForm::Damaged:
        return DamagedVerdict(file, decoded);
    case JournalForm::Unknown:
    case JournalForm::Complete:
        break;
    }
    return JournalVerdict::Unknown;
}

// Writes back the fields that do not hold their old bytes, and syncs the file even when there
// are none: the process that stopped may have written fields without syncing them, and the
// journal goes only once the file it leaves is on the disk. A journal of a whole file holds
// nearly half a million fields: each run of them is one write at its place.
void UndoChange(HeldDataFile& file, const RollbackJournal& journal, bool undo)
{
    if (journal.entries.empty())
        return;
    const FieldsNow now(file, journal);
    std::vector<FieldWrite> writes;
    for (const JournalEntry& entry : journal.entries)
        if (undo && !now.Holds(entry, entry.before))
            writes.push_back({{entry.offset, entry.width, true}, entry.before});
    file.Write({&now.Span(), 1}, writes, WriteRuns::Contiguous);
}

} // namespace

JournalInspection InspectJournal(HeldDataFile& file, JournalStore& store)
{
    JournalInspection found;
    std::vector<uint8_t> bytes;
    std::string failure;
    const JournalStore::Found loaded = store.Load(bytes, failure);
    if (loaded == JournalStore::Found::Unreadable)
        throw EJournalError(EJournalError::Step::Read, store.Name(), failure);
    if (loaded == JournalStore::Found::Nothing)
        return found;
    DecodedJournal decoded = DecodeJournal(bytes);
    found.length = file.Length();
    if (decoded.form != JournalForm::Complete) {
        found.verdict = VerdictOf(file, decoded);
        return found;
    }
    found.journal = std::move(decoded.journal);
    if (found.journal.identity.file != file.Identity().file)
        found.verdict = JournalVerdict::OtherFile;
    else if (found.journal.length != found.length)
        found.verdict = JournalVerdict::OtherLength;
    else
        found.verdict = StateOf(FieldsNow(file, found.journal), found.journal, found.changedAt);
    return found;
}

void SettleJournal(HeldDataFile& file, JournalStore& store, const JournalInspection& found)
{
    std::string failure;
    switch (found.verdict) {
    case JournalVerdict::Damaged:
        if (!store.SetAside(failure))
            throw EJournalError(EJournalError::Step::SetAside, store.Name(), failure);
        return;
    case JournalVerdict::NotBegun:
    case JournalVerdict::Unfinished:
    case JournalVerdict::Finished:
        UndoChange(file, found.journal, found.verdict == JournalVerdict::Unfinished);
        break;
    case JournalVerdict::Incomplete:
        break;
    default:
        return;
    }
    if (!RemoveRollbackJournal(store, failure))
        throw EJournalError(EJournalError::Step::Remove, store.Name(), failure);
}

} // namespace kt63
