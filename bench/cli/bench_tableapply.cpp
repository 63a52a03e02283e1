#include "dataimage.h"
#include "journalstore.h"
#include "patchapply.h"
#include "rollbackjournal.h"
#include "tablediff.h"
#include "tableworkspace.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

// The writing part of kt63-table apply (the look at the file, the old bytes read, the fields
// written, synced and read back), with and without the rollback journal, so that the cost of
// making the apply all or nothing is known: every field of the file, and a modder's 24. Each
// run goes back and forth between the two files, so every field changes every time. Beside
// them the journal alone, made durable and removed again, whose cost the whole apply's noise
// can hide. The syncs wait for the disk, so the times are wall-clock times; TMPDIR chooses the
// disk.
namespace kt63::bench {

namespace {

std::vector<FieldChange> Reversed(std::vector<FieldChange> changes)
{
    for (FieldChange& change : changes)
        std::swap(change.oldValue, change.newValue);
    return changes;
}

// Every field of every table changed: every byte of the tables with its lowest bit flipped.
std::vector<FieldChange> EveryField(HeldDataFile& file)
{
    const DataImage old = ReadWholeFile(file);
    std::vector<uint8_t> bytes = old.bytes();
    for (const ByteSpan& span : TableSpans())
        for (int32_t at = span.offset; at < span.offset + span.size; ++at)
            bytes[static_cast<size_t>(at)] ^= 1;
    return DiffImages(old, DataImage(std::move(bytes))).changes;
}

// The Speed of weapons 1 to 24.
std::vector<FieldChange> TwentyFourFields(HeldDataFile& file)
{
    std::vector<FieldChange> changes = EveryField(file);
    std::erase_if(changes, [](const FieldChange& change) {
        return change.table != TableId::Weapons || change.key.first > 24 ||
               Table(TableId::Weapons).columns[static_cast<size_t>(change.column)].name != "Speed";
    });
    return changes;
}

void BM_Apply(benchmark::State& state, std::vector<FieldChange> (*pick)(HeldDataFile&),
              bool journaled)
{
    const std::string path = SharedWorkspace().data();
    HeldDataFile file(path, HeldDataFile::Access::ReadWrite);
    const std::vector<FieldChange> forth = pick(file);
    const std::vector<FieldChange> back = Reversed(forth);
    const std::unique_ptr<JournalStore> journal = journaled ? JournalBeside(path) : nullptr;
    bool forward = true;
    for (auto _ : state) {
        if (!WriteChanges(file, forward ? forth : back, {journal.get(), nullptr}).empty())
            state.SkipWithError("a field did not read back");
        forward = !forward;
    }
    state.counters["fields"] = static_cast<double>(forth.size());
}

BENCHMARK_CAPTURE(BM_Apply, EveryField_Journal, EveryField, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Apply, EveryField_NoJournal, EveryField, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Apply, TwentyFourFields_Journal, TwentyFourFields, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Apply, TwentyFourFields_NoJournal, TwentyFourFields, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The journal of the changes, written as a new file, synced with its folder, and removed again
// with another sync of the folder.
void BM_JournalAlone(benchmark::State& state, std::vector<FieldChange> (*pick)(HeldDataFile&))
{
    const std::string path = SharedWorkspace().data();
    HeldDataFile file(path, HeldDataFile::Access::ReadOnly);
    RollbackJournal rollback{{}, file.Length(), {}};
    for (const FieldChange& change : pick(file)) {
        const Column& column = Table(change.table).columns[static_cast<size_t>(change.column)];
        rollback.entries.push_back(
            {RowOffset(change.table, change.key) + column.offset, column.width, {}, {}});
    }
    const std::unique_ptr<JournalStore> journal = JournalBeside(path);
    std::string failure;
    for (auto _ : state) {
        SaveRollbackJournal(*journal, rollback);
        if (!RemoveRollbackJournal(*journal, failure))
            state.SkipWithError(failure.c_str());
    }
    state.counters["bytes"] = static_cast<double>(EncodeJournal(rollback).size());
}

BENCHMARK_CAPTURE(BM_JournalAlone, EveryField, EveryField)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_JournalAlone, TwentyFourFields, TwentyFourFields)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

} // namespace kt63::bench

BENCHMARK_MAIN();
