#include "settledopen.h"

#include "journalstore.h"

namespace kt63 {

namespace {

void Settle(HeldDataFile& file, JournalStore& store, DataUse use, JournalOutcome& outcome)
{
    outcome.found = InspectJournal(file, store);
    const JournalVerdict verdict = outcome.found.verdict;
    if (IsForeignJournal(verdict)) {
        outcome.stops = use == DataUse::Change;
        return;
    }
    SettleJournal(file, store, outcome.found);
    outcome.settled = true;
    outcome.stops = verdict == JournalVerdict::Damaged;
}

// Read only, the journal is looked at and left for whoever can hold the file for writing.
void Inspect(HeldDataFile& file, JournalStore& store, JournalOutcome& outcome)
{
    outcome.found = InspectJournal(file, store);
    const JournalVerdict verdict = outcome.found.verdict;
    outcome.stops = verdict == JournalVerdict::Unfinished || verdict == JournalVerdict::Damaged;
}

bool HasJournal(JournalStore& store)
{
    std::vector<uint8_t> ignored;
    std::string failure;
    return store.Load(ignored, failure) != JournalStore::Found::Nothing;
}

// The file held for writing, or nothing, with `refusal` saying why.
std::unique_ptr<HeldDataFile> HoldForWriting(const std::string& path, std::string& refusal)
{
    try {
        return std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadWrite);
    } catch (const EFTooShortError&) {
        throw;
    } catch (const EFOpenError& error) {
        refusal = error.reason();
        return nullptr;
    }
}

} // namespace

bool IsForeignJournal(JournalVerdict verdict)
{
    return verdict == JournalVerdict::Unknown || verdict == JournalVerdict::OtherFile ||
           verdict == JournalVerdict::OtherLength || verdict == JournalVerdict::ChangedSince;
}

SettledDataFile OpenSettled(const std::string& path, DataUse use)
{
    const std::unique_ptr<JournalStore> store = JournalBeside(path);
    SettledDataFile opened;
    opened.journal.journal = store->Name();
    opened.journal.aside = store->AsideName();
    if (use == DataUse::Change) {
        opened.file = std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadWrite);
        Settle(*opened.file, *store, use, opened.journal);
        return opened;
    }
    if (!HasJournal(*store)) {
        opened.file = std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadOnly);
        return opened;
    }
    if (use == DataUse::Read)
        if ((opened.file = HoldForWriting(path, opened.journal.refusal))) {
            Settle(*opened.file, *store, use, opened.journal);
            return opened;
        }
    opened.file = std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadOnly);
    Inspect(*opened.file, *store, opened.journal);
    return opened;
}

} // namespace kt63
