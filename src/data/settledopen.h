#pragma once

#include "helddatafile.h"
#include "journalrecovery.h"

#include <memory>
#include <string>

namespace kt63 {

enum class DataUse : uint8_t {
    Read,    // reads, but may settle a journal first (kt63-table's dump, diff and check)
    Preview, // writes nothing at all (kt63-table's apply --dry-run)
    Change,  // holds the file for writing (kt63-table's apply, the editor's window)
};

// What opening the file found beside it, and did about it.
struct JournalOutcome
{
    JournalInspection found;
    std::string journal;  // the journal's path
    std::string aside;    // where a damaged journal is kept aside
    bool settled = false; // the file was held for writing and SettleJournal done
    std::string refusal;  // why the file could not be held for writing, when it was tried
    // The file must not be used: a damaged journal (set aside when settled), a file left partly
    // written that could not be rolled back now, or a journal that is not the file's beside a
    // file to be changed.
    bool stops = false;
};

struct SettledDataFile
{
    std::unique_ptr<HeldDataFile> file;
    JournalOutcome journal;
};

// Whether `verdict` names a journal that is not the file's as it is now: left alone always.
bool IsForeignJournal(JournalVerdict verdict);

// Opens the data file at `path` for `use`, after settling the rollback journal that an apply
// cut off by a kill, a crash or a power cut leaves beside it: the one rule for every program
// that opens the file. Whoever can hold the file for writing settles it (SettleJournal). A
// file without a journal, the common case, is read beside any other program. Throws the
// file's and the journal's errors; what the outcome asks the caller to say is the caller's.
SettledDataFile OpenSettled(const std::string& path, DataUse use);

} // namespace kt63
