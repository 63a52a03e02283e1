#pragma once

#include "exception.h"
#include "tstream.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kt63 {

class JournalStore;
class WriteJournal;

// A run of bytes of the file.
struct ByteSpan
{
    int32_t offset;
    int32_t size;
};

// One field to read or write. A field that opens a region is sought from the beginning of the
// file; any other is reached from the end of the field before it, by a seek from the current
// position over the gap between them, or by none where there is no gap.
struct FieldPlace
{
    int32_t offset;
    int32_t width; // 1 to 4 (a span read whole is taken as one wide field)
    bool opensRegion;
};

using FieldBytes = std::array<uint8_t, 4>;

struct FieldWrite
{
    FieldPlace place;
    FieldBytes bytes; // the first `place.width` count
};

// How a change's fields reach the file: each in its own seek and write, in the order given (the
// window's saves), or those that follow each other in the file, in the order given, joined
// into one write at its place, without a seek; the putting back takes such a run as one too,
// and the reading back reads the runs in a few large pieces, comparing only the fields' bytes.
enum class WriteRuns : uint8_t { FieldByField, Contiguous };

// What reading a change's fields back found: the fields that did not hold their new bytes, and
// what is left of the change after them (put back, unless nothing was wrong).
struct ReadBack
{
    struct Mismatch
    {
        size_t index; // into the writes
        FieldBytes found;
    };
    std::vector<Mismatch> mismatches;
    Undo undo = Undo::NothingWritten;
};

// What guards a change beyond putting back what it wrote when a step fails.
struct ChangeSafeguards
{
    // Where the rollback journal goes: written and made durable before the first write, and
    // removed once the change is complete or wholly put back, so that a change cut off by a
    // crash, a kill or a power cut is undone afterwards (see journalrecovery.h). None for the
    // window's saves of one record.
    JournalStore* journal = nullptr;
    // Looked at before every write and every reading back: once it is set, the change stops and
    // puts back what it wrote (EInterruptedError). Set from a signal handler or another thread.
    const std::atomic<bool>* interrupted = nullptr;
};

// The game's data file as the editor's window and kt63-table hold it, and the one owner of the
// rules of its reads and writes. Other programs need not honour the sharing mode, and the
// system may refuse any call, so:
// - before anything is read or written, the path must still name the file that was opened and
//   the file must still have the length it had then (EFChangedError, or EFCheckError when the
//   system cannot tell);
// - every seek must land where it was meant to and every read must deliver every byte asked
//   for (EReadError naming the file and the reason; a load then gives nothing);
// - a change reads the bytes it replaces from the file itself, just before it writes, writes
//   field by field, syncs, and looks at the file once more; when any of that fails, everything
//   written is put back (as far as the file still reaches) before the error is reported.
class HeldDataFile
{
public:
    enum class Access : uint8_t {
        ReadWrite, // for loads and changes; meanwhile other programs may only read the file
        ReadOnly,  // for reading only, beside any other opener (the editor's window included)
    };

    // Opens the file at `path`. Throws EFOpenError when it cannot be opened and EFTooShortError
    // (after closing it again) when it ends before the weapon table does, so that no change can
    // write past its end.
    HeldDataFile(const std::string& path, Access access);

    // Holds a stream that was opened elsewhere, at the length it has now, as it is.
    explicit HeldDataFile(TStream& stream);

    ~HeldDataFile();
    HeldDataFile(const HeldDataFile&) = delete;
    HeldDataFile& operator=(const HeldDataFile&) = delete;

    // The path as it was given, for messages.
    std::string FileName() const;

    // The file's length when it was opened.
    int64_t Length() const { return mLength; }

    // Which file is held, after the same look at the file as before every read.
    FileIdentity Identity();

    // Reads the bytes of `span` into `bytes`, all of them or an error.
    void Read(const ByteSpan& span, uint8_t* bytes);

    // Reads each field in turn into `bytes` (one entry per place; bytes past a field's width
    // are zero).
    void ReadFields(std::span<const FieldPlace> places, std::span<FieldBytes> bytes);

    // Writes each field in turn. The bytes every write replaces must lie inside `before`: those
    // spans are read first. Ends with a sync and a last look at the file. Throws EWriteError,
    // EReadError, EFChangedError or EFCheckError; the file is then as before, unless the message
    // says that it may be partly written, or that another program changed it meanwhile (and
    // what is at the path now).
    void Write(std::span<const ByteSpan> before, std::span<const FieldWrite> writes,
               WriteRuns runs = WriteRuns::FieldByField);

    // Write, but every field is read back before the last look at the file. When one does not
    // hold what was written, every field is put back and the mismatches are given; a read that
    // fails puts everything back and throws EReadError. With `safeguards`, a rollback journal
    // is written first (EJournalError, and nothing written, when it cannot be), and the change
    // stops when asked to (EInterruptedError). The journal holds one entry per field whatever
    // `runs` says.
    ReadBack WriteAndReadBack(std::span<const ByteSpan> before, std::span<const FieldWrite> writes,
                              const ChangeSafeguards& safeguards = {},
                              WriteRuns runs = WriteRuns::FieldByField);

private:
    class BytesBefore;
    struct Run;

    ReadBack Change(std::span<const ByteSpan> before, std::span<const FieldWrite> writes,
                    const ChangeSafeguards& safeguards, bool readBack, WriteRuns runs);
    ReadBack WriteFields(const BytesBefore& old, std::span<const FieldWrite> writes, WriteRuns runs,
                         WriteJournal& journal, const std::atomic<bool>* interrupted,
                         bool readBack);
    BytesBefore ReadBefore(std::span<const ByteSpan> spans, std::span<const FieldWrite> writes,
                           WriteRuns runs);
    int32_t WriteRun(const FieldPlace& place, const uint8_t* bytes, const uint8_t* before,
                     WriteRuns runs, WriteJournal& journal, std::string& failure);
    static Run RunAt(const BytesBefore& old, std::span<const FieldWrite> writes, size_t first,
                     WriteRuns runs);
    static Run PieceAt(const BytesBefore& old, std::span<const FieldWrite> writes, size_t first);
    static void CompareRun(std::span<const FieldWrite> writes, const Run& run,
                           const std::vector<uint8_t>& found,
                           std::vector<ReadBack::Mismatch>& mismatches);
    ReadBack ReadWrittenFields(const BytesBefore& old, std::span<const FieldWrite> writes,
                               WriteRuns runs, WriteJournal& journal,
                               const std::atomic<bool>* interrupted);
    void SaveJournal(JournalStore& store, const StreamStatus& status, const BytesBefore& old,
                     std::span<const FieldWrite> writes);
    void EndJournal(JournalStore& store, WriteJournal& journal, bool complete);

    StreamStatus Check();
    void CheckAfterWrites(WriteJournal& journal);
    [[noreturn]] void FailRead(const std::string& reason);
    [[noreturn]] void FailWrite(WriteJournal& journal, const std::string& reason);
    Undo PutBack(WriteJournal& journal);
    void StopIfInterrupted(const std::atomic<bool>* interrupted, WriteJournal& journal);

    // Each gives false, with `failure` saying why, when the position is not at `place`, or when
    // not every byte of the field (or span) arrives.
    bool MoveTo(const FieldPlace& place, std::string& failure);
    bool ReadAt(const FieldPlace& place, uint8_t* bytes, std::string& failure);
    // ReadAt in one positioned read, without a seek; the position is then not known.
    bool ReadPlaced(const FieldPlace& place, uint8_t* bytes, std::string& failure);
    std::string WriteFailure() const;

    std::unique_ptr<TStream> mOwned;
    TStream& mStream;
    int64_t mLength;
    int32_t mPosition = -1; // where the latest transfer ended; -1 when not known
};

} // namespace kt63
