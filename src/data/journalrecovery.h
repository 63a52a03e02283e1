#pragma once

#include "rollbackjournal.h"

#include <cstdint>

namespace kt63 {

class HeldDataFile;
class JournalStore;

enum class JournalVerdict : uint8_t {
    None,         // no journal beside the file
    Incomplete,   // a crash came while it was written, before the file was touched
    NotBegun,     // every field still holds its old bytes: nothing to undo
    Unfinished,   // some fields hold their old bytes and some their new: to be undone
    Finished,     // every field holds its new bytes: the apply had finished, the file is kept
    Damaged,      // checksum or length wrong, and the file may hold part of the change
    Unknown,      // no journal this program can read, or one naming bytes it never writes
    OtherFile,    // the journal of another file that was at the path
    OtherLength,  // the file's length is not the one the change was written to
    ChangedSince, // a byte the change covers holds neither its old nor its new value
};

struct JournalInspection
{
    JournalVerdict verdict = JournalVerdict::None;
    RollbackJournal journal; // as read, when it was complete
    int64_t length = 0;      // the file's length
    int64_t changedAt = -1;  // ChangedSince: the offset of the first such byte
};

// Reads the journal beside `file` and tells what it is to the file. A journal is the file's only
// when the file has the number on its volume and the length the journal gives, and every byte
// the change covers holds its old or its new value: a file put at the path since, or changed
// since, is not rolled back into. The volume is not compared: Linux numbers some file systems
// anew at each start, and a journal must still be found after a power cut. Undo is only ever
// an undo: a copy put over the file (which keeps its number on many file systems) that holds
// the applied or the old values is left as it is, and only a file holding both is rolled back.
// A damaged journal is called incomplete only when every entry it counts could be read and
// still holds its old bytes. Throws EJournalError when the journal cannot be read.
JournalInspection InspectJournal(HeldDataFile& file, JournalStore& store);

// Settles what InspectJournal found, the file being held for writing: an unfinished change is
// undone (the fields that do not hold their old bytes are written back); the file is synced
// and the journal removed (and the folder synced) for every verdict from Incomplete to
// Finished; a damaged one is set aside (EJournalError when it cannot be); any other is left
// alone. Throws the file's errors, or EJournalError when the journal cannot be removed.
void SettleJournal(HeldDataFile& file, JournalStore& store, const JournalInspection& found);

} // namespace kt63
