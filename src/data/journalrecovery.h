#pragma once

#include "rollbackjournal.h"

#include <cstdint>

namespace kt63 {

class HeldDataFile;
class JournalStore;

enum class JournalVerdict : uint8_t {
    None,         // no journal beside the file
    Incomplete,   // a crash came while it was written, before the file was touched
    Unfinished,   // a change of this very file that did not end: to be undone
    Unknown,      // no journal this program can read (see JournalForm)
    OtherFile,    // the journal of another file that was at the path
    OtherLength,  // the file's length is not the one the change was written to
    ChangedSince, // a byte the change covers holds neither its old nor its new value
};

struct JournalInspection
{
    JournalVerdict verdict = JournalVerdict::None;
    RollbackJournal journal; // as read, when it was complete
    int64_t length = 0;      // the file's length
    int32_t changedAt = -1;  // ChangedSince: the offset of the first such byte
};

// Reads the journal beside `file` and tells what it is to the file. A journal is the file's only
// when the file has the number on its volume and the length the journal gives, and every byte
// the change covers holds its old or its new value: a file put at the path since, or changed
// since (by the editor's window, which does not read journals), is not rolled back into. The
// volume is not compared: Linux numbers some file systems anew at each start, and a journal must
// still be found after a power cut. Throws EJournalError when the journal cannot be read.
JournalInspection InspectJournal(HeldDataFile& file, JournalStore& store);

// Settles what InspectJournal found, the file being held for writing: an unfinished change is
// undone (the fields that do not hold their old bytes are written back, the file is synced, the
// journal removed and the folder synced), an incomplete journal is removed, and any other is
// left alone. Throws the file's errors, or EJournalError when the journal cannot be removed.
void SettleJournal(HeldDataFile& file, JournalStore& store, const JournalInspection& found);

} // namespace kt63
