#include "datafileopen.h"

#include "journalrecovery.h"
#include "journalstore.h"
#include "tablefileerror.h"

#include <ostream>

namespace kt63 {

namespace {

const char* const Lead = "kt63-table: ";

bool IsOwnJournal(JournalVerdict verdict)
{
    return verdict == JournalVerdict::None || verdict == JournalVerdict::Incomplete ||
           verdict == JournalVerdict::Unfinished;
}

// Why a journal beside the file is not the file's.
std::string Mismatch(const JournalInspection& found, const std::string& data)
{
    switch (found.verdict) {
    case JournalVerdict::OtherFile:
        return "it was written for another file at this path";
    case JournalVerdict::OtherLength:
        return "it was written for a file of " + std::to_string(found.journal.length) + " bytes; " +
               data + " has " + std::to_string(found.length);
    case JournalVerdict::ChangedSince:
        return data + " was changed since: the byte at " + std::to_string(found.changedAt) +
               " holds neither its value before nor after the apply";
    default:
        return "it is no journal that this version of kt63-table can read";
    }
}

std::string NotItsJournal(const JournalInspection& found, const JournalStore& store,
                          const std::string& data)
{
    return store.Name() + " is not the journal of " + data + " as it is now (" +
           Mismatch(found, data) + ")";
}

std::string IncompleteNote(const JournalStore& store, const std::string& data)
{
    return store.Name() + ", left incomplete by an apply that stopped before it wrote to " + data;
}

// The file held for writing: whatever the journal asks for is done now.
void Settle(HeldDataFile& file, JournalStore& store, DataUse use, std::ostream& notes)
{
    const JournalInspection found = InspectJournal(file, store);
    const std::string& data = file.FileName();
    if (!IsOwnJournal(found.verdict)) {
        if (use == DataUse::Change)
            throw ETableFileError(NotItsJournal(found, store, data) +
                                  ": nothing written; delete it once " + data +
                                  " is as it should be, then apply again");
        notes << Lead << NotItsJournal(found, store, data) << ": left alone; delete it once "
              << data << " is as it should be.\n";
        return;
    }
    SettleJournal(file, store, found);
    if (found.verdict == JournalVerdict::Unfinished)
        notes << Lead << "an unfinished apply to " << data << " was undone: " << store.Name()
              << " put back the old values of " << found.journal.entries.size() << " field"
              << (found.journal.entries.size() == 1 ? "" : "s") << ".\n";
    else if (found.verdict == JournalVerdict::Incomplete)
        notes << Lead << "removed " << IncompleteNote(store, data) << ".\n";
}

// The file held for reading only: the journal is left for whoever can hold it for writing, and
// a file that an unfinished apply left partly written is not read.
void Report(HeldDataFile& file, JournalStore& store, DataUse use, const std::string& refusal,
            std::ostream& notes)
{
    const JournalInspection found = InspectJournal(file, store);
    const std::string& data = file.FileName();
    if (found.verdict == JournalVerdict::Unfinished)
        throw ETableFileError(
            data + " is partly written by an apply that did not finish, which " + store.Name() +
            " undoes; " +
            (use == DataUse::Preview
                 ? "--dry-run writes nothing, so run kt63-table check " + data + " first"
                 : "it cannot be held for writing now (" + refusal +
                       "): close the program that holds it (the editor's window, or an apply "
                       "still running) and run kt63-table again"));
    if (found.verdict == JournalVerdict::Incomplete)
        notes << Lead << IncompleteNote(store, data)
              << ", is left for the next command that holds it for writing.\n";
    else if (found.verdict != JournalVerdict::None)
        notes << Lead << NotItsJournal(found, store, data) << ": left alone; delete it once "
              << data << " is as it should be.\n";
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

std::unique_ptr<HeldDataFile> OpenDataFile(const std::string& path, DataUse use,
                                           std::ostream& notes)
{
    const std::unique_ptr<JournalStore> store = JournalBeside(path);
    if (use == DataUse::Change) {
        auto file = std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadWrite);
        Settle(*file, *store, use, notes);
        return file;
    }
    // Most files have no journal, and are read beside any other program.
    if (!HasJournal(*store))
        return std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadOnly);
    std::string refusal;
    if (use == DataUse::Read)
        if (auto file = HoldForWriting(path, refusal)) {
            Settle(*file, *store, use, notes);
            return file;
        }
    auto file = std::make_unique<HeldDataFile>(path, HeldDataFile::Access::ReadOnly);
    Report(*file, *store, use, refusal, notes);
    return file;
}

} // namespace kt63
