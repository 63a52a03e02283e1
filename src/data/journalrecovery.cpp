#include "journalrecovery.h"

#include "exception.h"
#include "helddatafile.h"
#include "journalstore.h"

#include <algorithm>

namespace kt63 {

namespace {

// The one run of bytes that holds every field of the change.
ByteSpan Covering(const RollbackJournal& journal)
{
    int32_t first = journal.entries.front().offset;
    int32_t end = first;
    for (const JournalEntry& entry : journal.entries) {
        first = std::min(first, entry.offset);
        end = std::max(end, entry.offset + entry.width);
    }
    return {first, end - first};
}

std::vector<uint8_t> BytesNow(HeldDataFile& file, const ByteSpan& span)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(span.size));
    file.Read(span, bytes.data());
    return bytes;
}

// The offset of the first byte that holds neither its old nor its new value, or -1.
int32_t FirstStrangeByte(HeldDataFile& file, const RollbackJournal& journal)
{
    if (journal.entries.empty())
        return -1;
    const ByteSpan span = Covering(journal);
    const std::vector<uint8_t> now = BytesNow(file, span);
    for (const JournalEntry& entry : journal.entries)
        for (int32_t i = 0; i < entry.width; ++i) {
            const uint8_t byte = now[static_cast<size_t>(entry.offset - span.offset + i)];
            const auto at = static_cast<size_t>(i);
            if (byte != entry.before[at] && byte != entry.after[at])
                return entry.offset + i;
        }
    return -1;
}

JournalVerdict VerdictOf(JournalForm form)
{
    return form == JournalForm::Incomplete ? JournalVerdict::Incomplete : JournalVerdict::Unknown;
}

// Writes back the fields that do not hold their old bytes, and syncs the file even when there
// are none: the process that stopped may have put fields back without syncing them, and the
// journal goes only once the whole of the old file is on the disk.
void UndoChange(HeldDataFile& file, const RollbackJournal& journal)
{
    if (journal.entries.empty())
        return;
    const ByteSpan span = Covering(journal);
    const std::vector<uint8_t> now = BytesNow(file, span);
    std::vector<FieldWrite> writes;
    for (const JournalEntry& entry : journal.entries) {
        const auto at = now.begin() + (entry.offset - span.offset);
        if (!std::equal(at, at + entry.width, entry.before.begin()))
            writes.push_back({{entry.offset, entry.width, true}, entry.before});
    }
    file.Write({&span, 1}, writes);
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
        found.verdict = VerdictOf(decoded.form);
        return found;
    }
    found.journal = std::move(decoded.journal);
    if (found.journal.identity.file != file.Identity().file)
        found.verdict = JournalVerdict::OtherFile;
    else if (found.journal.length != found.length)
        found.verdict = JournalVerdict::OtherLength;
    else if ((found.changedAt = FirstStrangeByte(file, found.journal)) >= 0)
        found.verdict = JournalVerdict::ChangedSince;
    else
        found.verdict = JournalVerdict::Unfinished;
    return found;
}

void SettleJournal(HeldDataFile& file, JournalStore& store, const JournalInspection& found)
{
    if (found.verdict == JournalVerdict::Unfinished)
        UndoChange(file, found.journal);
    else if (found.verdict != JournalVerdict::Incomplete)
        return;
    if (std::string failure; !RemoveRollbackJournal(store, failure))
        throw EJournalError(EJournalError::Step::Remove, store.Name(), failure);
}

} // namespace kt63
