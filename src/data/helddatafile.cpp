#include "helddatafile.h"

#include "datalayout.h"
#include "journalstore.h"
#include "rollbackjournal.h"
#include "tfilestream.h"
#include "writejournal.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace kt63 {

namespace {

uint16_t ModeOf(HeldDataFile::Access access)
{
    return access == HeldDataFile::Access::ReadWrite ? fmOpenReadWrite | fmShareDenyWrite
                                                     : fmOpenRead | fmShareDenyNone;
}

// What another program did to the file since it was opened, if anything.
std::optional<EFChangedError::Change> ChangeOf(const StreamStatus& status, int64_t length)
{
    using Change = EFChangedError::Change;
    if (status.path == StreamStatus::Path::Missing)
        return Change::Deleted;
    if (status.path == StreamStatus::Path::NamesAnother)
        return Change::Replaced;
    if (status.size < length)
        return Change::CutShort;
    if (status.size > length)
        return Change::Resized;
    return std::nullopt;
}

} // namespace

// The bytes a change replaces, read before its first write, with the spans they came from.
class HeldDataFile::BytesBefore
{
public:
    void Add(const ByteSpan& span, std::vector<uint8_t> bytes)
    {
        mSpans.push_back(span);
        mBytes.push_back(std::move(bytes));
    }

    // The bytes before `place`, or nullptr when no span holds the whole field.
    const uint8_t* At(const FieldPlace& place) const
    {
        for (size_t i = 0; i < mSpans.size(); ++i)
            if (place.offset >= mSpans[i].offset &&
                place.offset + place.width <= mSpans[i].offset + mSpans[i].size)
                return mBytes[i].data() + (place.offset - mSpans[i].offset);
        return nullptr;
    }

private:
    std::vector<ByteSpan> mSpans;
    std::vector<std::vector<uint8_t>> mBytes;
};

// Fields writes[first] to writes[first + count - 1], which lie one after the other from `place`.
struct HeldDataFile::Run
{
    size_t first;
    size_t count;
    FieldPlace place;
};

namespace {

// The fields' bytes of a run, one after the other, into `bytes`.
void GatherRun(std::span<const FieldWrite> writes, size_t first, size_t count,
               std::vector<uint8_t>& bytes)
{
    bytes.clear();
    for (const FieldWrite& write : writes.subspan(first, count))
        bytes.insert(bytes.end(), write.bytes.begin(), write.bytes.begin() + write.place.width);
}

} // namespace

HeldDataFile::HeldDataFile(const std::string& path, Access access)
    : mOwned(std::make_unique<TFileStream>(path, ModeOf(access))), mStream(*mOwned),
      mLength(mStream.Size())
{
    if (mLength < 0)
        throw EFCheckError(path, mStream.LastErrorText());
    if (mLength < DataFileMinimumSize)
        throw EFTooShortError(path);
}

HeldDataFile::HeldDataFile(TStream& stream) : mStream(stream), mLength(stream.Size()) {}

HeldDataFile::~HeldDataFile() = default;

std::string HeldDataFile::FileName() const
{
    return mStream.FileName();
}

void HeldDataFile::Read(const ByteSpan& span, uint8_t* bytes)
{
    Check();
    if (std::string failure; !ReadAt({span.offset, span.size, true}, bytes, failure))
        FailRead(failure);
}

void HeldDataFile::ReadFields(std::span<const FieldPlace> places, std::span<FieldBytes> bytes)
{
    Check();
    std::string failure;
    for (size_t i = 0; i < places.size(); ++i) {
        bytes[i] = {};
        if (!ReadAt(places[i], bytes[i].data(), failure))
            FailRead(failure);
    }
}

FileIdentity HeldDataFile::Identity()
{
    return Check().identity;
}

void HeldDataFile::Write(std::span<const ByteSpan> before, std::span<const FieldWrite> writes,
                         WriteRuns runs)
{
    Change(before, writes, {}, false, runs);
}

ReadBack HeldDataFile::WriteAndReadBack(std::span<const ByteSpan> before,
                                        std::span<const FieldWrite> writes,
                                        const ChangeSafeguards& safeguards, WriteRuns runs)
{
    return Change(before, writes, safeguards, true, runs);
}

// Check, read the bytes to replace, make the journal durable, then write, sync, read back and
// look at the file again. A journal stays behind only where the file may still hold part of
// the change: then it is what puts the file back later.
ReadBack HeldDataFile::Change(std::span<const ByteSpan> before, std::span<const FieldWrite> writes,
                              const ChangeSafeguards& safeguards, bool readBack, WriteRuns runs)
{
    WriteJournal journal(mStream);
    const StreamStatus status = Check();
    const BytesBefore old = ReadBefore(before, writes, runs);
    if (safeguards.journal == nullptr)
        return WriteFields(old, writes, runs, journal, safeguards.interrupted, readBack);
    StopIfInterrupted(safeguards.interrupted, journal);
    SaveJournal(*safeguards.journal, status, old, writes);
    ReadBack result;
    try {
        result = WriteFields(old, writes, runs, journal, safeguards.interrupted, readBack);
    } catch (...) {
        if (journal.IsUndone())
            EndJournal(*safeguards.journal, journal, false);
        throw;
    }
    if (result.mismatches.empty() || journal.IsUndone())
        EndJournal(*safeguards.journal, journal, result.mismatches.empty());
    return result;
}

// The last look at the file comes after the reading back, which takes a while for a large
// change: whatever another program does until then is seen, and a field that another program's
// doing made read back wrong is told as that doing.
ReadBack HeldDataFile::WriteFields(const BytesBefore& old, std::span<const FieldWrite> writes,
                                   WriteRuns runs, WriteJournal& journal,
                                   const std::atomic<bool>* interrupted, bool readBack)
{
    std::string failure;
    std::vector<uint8_t> bytes;
    for (size_t next = 0; next < writes.size();) {
        const Run run = RunAt(old, writes, next, runs);
        next += run.count;
        StopIfInterrupted(interrupted, journal);
        const FieldPlace& place = run.place;
        GatherRun(writes, run.first, run.count, bytes);
        if (WriteRun(place, bytes.data(), old.At(place), runs, journal, failure) != place.width)
            FailWrite(journal, failure);
    }
    if (!mStream.Sync())
        FailWrite(journal, WriteFailure());
    ReadBack result;
    if (readBack)
        result = ReadWrittenFields(old, writes, runs, journal, interrupted);
    CheckAfterWrites(journal);
    if (!result.mismatches.empty())
        result.undo = PutBack(journal);
    return result;
}

void HeldDataFile::SaveJournal(JournalStore& store, const StreamStatus& status,
                               const BytesBefore& old, std::span<const FieldWrite> writes)
{
    RollbackJournal rollback{status.identity, mLength, {}};
    rollback.entries.reserve(writes.size());
    for (const FieldWrite& write : writes) {
        JournalEntry entry{write.place.offset, write.place.width, {}, write.bytes};
        std::copy_n(old.At(write.place), write.place.width, entry.before.begin());
        rollback.entries.push_back(entry);
    }
    SaveRollbackJournal(store, rollback);
}

// Removes the journal of a change that is complete, or wholly put back. A complete change whose
// journal stays could still be undone after it was reported written (once a later change puts
// some of its fields back to their old values): it is put back now instead, and reported as not
// saved. A journal that cannot go after a change was put back is harmless: it finds the file
// wholly old and writes nothing.
void HeldDataFile::EndJournal(JournalStore& store, WriteJournal& journal, bool complete)
{
    std::string failure;
    if (RemoveRollbackJournal(store, failure) || !complete)
        return;
    throw EJournalError(EJournalError::Step::Remove, store.Name(), failure, PutBack(journal));
}

// The window's field by field writes keep their seeks; runs are written where they go.
int32_t HeldDataFile::WriteRun(const FieldPlace& place, const uint8_t* bytes, const uint8_t* before,
                               WriteRuns runs, WriteJournal& journal, std::string& failure)
{
    if (runs == WriteRuns::FieldByField && !MoveTo(place, failure))
        return -1;
    const int32_t written = runs == WriteRuns::FieldByField
                                ? journal.Write(place.offset, bytes, before, place.width)
                                : journal.WriteAt(place.offset, bytes, before, place.width);
    mPosition =
        runs == WriteRuns::FieldByField && written == place.width ? place.offset + place.width : -1;
    if (written != place.width)
        failure = WriteFailure();
    return written;
}

HeldDataFile::BytesBefore HeldDataFile::ReadBefore(std::span<const ByteSpan> spans,
                                                   std::span<const FieldWrite> writes,
                                                   WriteRuns runs)
{
    BytesBefore old;
    for (const ByteSpan& span : spans) {
        std::vector<uint8_t> bytes(static_cast<size_t>(span.size));
        const FieldPlace place{span.offset, span.size, true};
        std::string failure;
        if (runs == WriteRuns::FieldByField ? !ReadAt(place, bytes.data(), failure)
                                            : !ReadPlaced(place, bytes.data(), failure))
            FailRead(failure);
        old.Add(span, std::move(bytes));
    }
    // Without its old bytes a write could not be undone: the caller's mistake, found before
    // anything is written.
    for (const FieldWrite& write : writes)
        if (old.At(write.place) == nullptr)
            throw std::invalid_argument("a write at " + std::to_string(write.place.offset) +
                                        " lies outside the bytes read before it");
    return old;
}

ReadBack HeldDataFile::ReadWrittenFields(const BytesBefore& old, std::span<const FieldWrite> writes,
                                         WriteRuns runs, WriteJournal& journal,
                                         const std::atomic<bool>* interrupted)
{
    ReadBack result;
    std::string failure;
    std::vector<uint8_t> found;
    for (size_t next = 0; next < writes.size();) {
        const Run run = runs == WriteRuns::FieldByField ? RunAt(old, writes, next, runs)
                                                        : PieceAt(old, writes, next);
        next += run.count;
        StopIfInterrupted(interrupted, journal);
        found.resize(static_cast<size_t>(run.place.width));
        if (runs == WriteRuns::FieldByField ? !ReadAt(run.place, found.data(), failure)
                                            : !ReadPlaced(run.place, found.data(), failure)) {
            CheckAfterWrites(journal);
            throw EReadError(FileName(), failure, PutBack(journal));
        }
        CompareRun(writes, run, found, result.mismatches);
    }
    return result;
}

// Notes each field of `run` whose bytes in `found` (read from the run's place) are not those
// written.
void HeldDataFile::CompareRun(std::span<const FieldWrite> writes, const Run& run,
                              const std::vector<uint8_t>& found,
                              std::vector<ReadBack::Mismatch>& mismatches)
{
    for (size_t i = run.first; i < run.first + run.count; ++i) {
        const FieldPlace& place = writes[i].place;
        const auto at = found.begin() + (place.offset - run.place.offset);
        if (!std::equal(at, at + place.width, writes[i].bytes.begin())) {
            FieldBytes bytes{};
            std::copy_n(at, place.width, bytes.begin());
            mismatches.push_back({i, bytes});
        }
    }
}

// The fields from writes[first] on that one read of at most ReadBackPiece bytes takes back,
// from the lowest of their offsets to the highest of their ends: the bytes between them are read
// but only compared where a field lies. The piece stays inside one span read before the change,
// which the file is known to hold.
HeldDataFile::Run HeldDataFile::PieceAt(const BytesBefore& old, std::span<const FieldWrite> writes,
                                        size_t first)
{
    static constexpr int32_t ReadBackPiece = 256 * 1024;
    Run piece{first, 1, writes[first].place};
    for (; first + piece.count < writes.size(); ++piece.count) {
        const FieldPlace& next = writes[first + piece.count].place;
        const int32_t begin = std::min(piece.place.offset, next.offset);
        const int32_t end =
            std::max(piece.place.offset + piece.place.width, next.offset + next.width);
        const FieldPlace wider{begin, end - begin, true};
        if (wider.width > ReadBackPiece || old.At(wider) == nullptr)
            break;
        piece.place = wider;
    }
    return piece;
}

// The run that begins with writes[first]: a field joins it when it begins where the run ends,
// and the bytes before it are in the same span read before the change, so that the run's are
// too. Found as the writing goes (and the reading back, field by field), so that no list of runs
// is held.
HeldDataFile::Run HeldDataFile::RunAt(const BytesBefore& old, std::span<const FieldWrite> writes,
                                      size_t first, WriteRuns runs)
{
    Run run{first, 1, writes[first].place};
    while (runs == WriteRuns::Contiguous && first + run.count < writes.size()) {
        const FieldPlace& next = writes[first + run.count].place;
        const FieldPlace longer{run.place.offset, run.place.width + next.width,
                                run.place.opensRegion};
        if (next.offset != run.place.offset + run.place.width || old.At(longer) == nullptr)
            break;
        run.place = longer;
        ++run.count;
    }
    return run;
}

StreamStatus HeldDataFile::Check()
{
    StreamStatus status = mStream.CurrentStatus();
    if (status.path == StreamStatus::Path::Unknown)
        throw EFCheckError(FileName(), status.reason);
    if (const auto change = ChangeOf(status, mLength))
        throw EFChangedError(*change, FileName());
    return status;
}

void HeldDataFile::CheckAfterWrites(WriteJournal& journal)
{
    const StreamStatus status = mStream.CurrentStatus();
    if (status.path == StreamStatus::Path::Unknown)
        throw EFCheckError(FileName(), status.reason, PutBack(journal));
    if (const auto change = ChangeOf(status, mLength))
        throw EFChangedError(*change, FileName(), status.size, PutBack(journal));
}

// A read that failed may be the first sign of another program's doing: that is the better
// message when it is so.
void HeldDataFile::FailRead(const std::string& reason)
{
    Check();
    throw EReadError(FileName(), reason);
}

void HeldDataFile::FailWrite(WriteJournal& journal, const std::string& reason)
{
    throw EWriteError(FileName(), reason, PutBack(journal));
}

// Puts back as far as the held file reaches now, so that a file another program cut short is
// not made long again; where its length cannot be told, as far as it reached when opened.
Undo HeldDataFile::PutBack(WriteJournal& journal)
{
    mPosition = -1;
    const int64_t size = mStream.CurrentStatus().size;
    return journal.RollBack(size >= 0 ? std::min(size, mLength) : mLength);
}

void HeldDataFile::StopIfInterrupted(const std::atomic<bool>* interrupted, WriteJournal& journal)
{
    if (interrupted != nullptr && interrupted->load())
        throw EInterruptedError(FileName(), PutBack(journal));
}

bool HeldDataFile::MoveTo(const FieldPlace& place, std::string& failure)
{
    int32_t reached = mPosition;
    if (place.opensRegion || mPosition < 0)
        reached = mStream.Seek(place.offset, soFromBeginning);
    else if (place.offset != mPosition)
        reached = mStream.Seek(place.offset - mPosition, soFromCurrent);
    mPosition = reached == place.offset ? reached : -1;
    if (mPosition < 0)
        failure =
            SeekFailure(place.offset, mStream.LastError() != 0 ? mStream.LastErrorText() : "");
    return mPosition >= 0;
}

bool HeldDataFile::ReadAt(const FieldPlace& place, uint8_t* bytes, std::string& failure)
{
    if (!MoveTo(place, failure))
        return false;
    const int32_t got = mStream.Read(bytes, place.width);
    if (got == place.width) {
        mPosition += got;
        return true;
    }
    mPosition = -1;
    failure = mStream.LastError() != 0 ? mStream.LastErrorText() : ShortRead(got, place.width);
    return false;
}

bool HeldDataFile::ReadPlaced(const FieldPlace& place, uint8_t* bytes, std::string& failure)
{
    mPosition = -1;
    const int32_t got = mStream.ReadAt(place.offset, bytes, place.width);
    if (got == place.width)
        return true;
    failure = mStream.LastError() != 0 ? mStream.LastErrorText() : ShortRead(got, place.width);
    return false;
}

// A write or sync that failed without the system's word for it still failed.
std::string HeldDataFile::WriteFailure() const
{
    return mStream.LastError() != 0 ? mStream.LastErrorText()
                                    : std::generic_category().message(EIO);
}

} // namespace kt63
