#pragma once

#include "helddatafile.h"
#include "tstream.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kt63 {

// One field of a change: where it lies, how wide it is, its bytes before and after the change.
struct JournalEntry
{
    int32_t offset;
    int32_t width; // 1 to 4
    FieldBytes before;
    FieldBytes after;
};

// What a rollback journal holds: enough to put every field of a change back, and to tell
// whether a data file found later is the one the change was written to.
struct RollbackJournal
{
    FileIdentity identity;
    int64_t length = 0;
    std::vector<JournalEntry> entries;
};

// The journal as a file, little-endian:
//   offset  size
//        0     8  "KT63JRNL"
//        8     4  format version, 1
//       12     4  number of entries
//       16     8  length of the whole journal in bytes, checksum included
//       24     8  the data file's length
//       32     8  the data file's volume
//       40     8  the data file's number on its volume
//       48        each entry: offset (4), width (1), the bytes before (width), after (width)
//   end - 4    4  CRC-32 of every byte before it
// A journal is complete only when its length is the one it gives and the checksum fits, so a
// journal that a crash cut short or left with unwritten blocks can be told from a whole one.
std::vector<uint8_t> EncodeJournal(const RollbackJournal& journal);

// The length of a journal of `count` entries each `width` bytes wide.
int64_t JournalSizeOf(int64_t count, int64_t width);

enum class JournalForm : uint8_t {
    Complete,
    // Empty, a beginning of its name, or only zeros: a crash came while it was being created,
    // which is before the data file was touched.
    Incomplete,
    // Ours, but its checksum or its length is wrong: cut short or torn by a crash while it was
    // written, or damaged since. Which of the two cannot be told from the journal alone.
    Damaged,
    // Not a journal of this program, one of a later version, or one that names bytes that
    // kt63-table never writes (anything but one of the tables' fields, or a field twice):
    // nothing to act on.
    Unknown,
};

struct DecodedJournal
{
    JournalForm form = JournalForm::Unknown;
    // Complete: all of it. Damaged: the header and the entries that could be read up to the
    // first that cannot be one of ours, with `allEntries` telling whether that is every one the
    // header counts.
    RollbackJournal journal;
    bool allEntries = false;
    bool cutShort = false; // Damaged: shorter than the length it gives
};

DecodedJournal DecodeJournal(std::span<const uint8_t> bytes);

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320, start and result inverted).
uint32_t Crc32(std::span<const uint8_t> bytes);

} // namespace kt63
