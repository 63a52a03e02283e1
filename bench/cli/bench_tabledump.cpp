#include "commands.h"
#include "dataimage.h"
#include "datalayout.h"
#include "tabledump.h"
#include "tableworkspace.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sstream>
#include <unistd.h>

// The dump of every weapon, slot and armament entry, beside the floor of the same reads made
// raw: one pread of the armament table and one of the weapon table on a bare descriptor of the
// same file, whose pages are cached alike; the check of every weapon's save beside them.
namespace kt63::bench {

namespace {

constexpr int32_t ArmamentTableEnd =
    ArmamentEntryOffset(ArmamentGroupCount - 1, ArmamentTabCount - 1) + ArmamentEntrySize;

void CountRows(benchmark::State& state)
{
    state.counters["rows"] =
        WeaponCount + WeaponCount * SlotCount + ArmamentGroupCount * ArmamentTabCount;
}

// The whole command: open, read, decode, format and write weapons.csv, slots.csv, armaments.csv.
void BM_Dump_Csv(benchmark::State& state)
{
    const Workspace& workspace = SharedWorkspace();
    std::ostringstream console;
    for (auto _ : state)
        RunDump({workspace.data(), {}, "csv", workspace.out("csv"), {}}, console);
    CountRows(state);
}
BENCHMARK(BM_Dump_Csv)->Unit(benchmark::kMillisecond);

void BM_Dump_Json(benchmark::State& state)
{
    const Workspace& workspace = SharedWorkspace();
    std::ostringstream console;
    for (auto _ : state)
        RunDump({workspace.data(), {}, "json", workspace.out("all.json"), {}}, console);
    CountRows(state);
}
BENCHMARK(BM_Dump_Json)->Unit(benchmark::kMillisecond);

// Only the open and the two region reads through the stream.
void BM_ReadTables_Stream(benchmark::State& state)
{
    const Workspace& workspace = SharedWorkspace();
    for (auto _ : state) {
        HeldDataFile file(workspace.data(), HeldDataFile::Access::ReadOnly);
        DataImage image = ReadTables(file);
        benchmark::DoNotOptimize(image.bytes().data());
    }
}
BENCHMARK(BM_ReadTables_Stream)->Unit(benchmark::kMillisecond);

// The floor: the same two regions, one pread each, into a buffer that is already there.
void BM_ReadTables_PreadFloor(benchmark::State& state)
{
    const Workspace& workspace = SharedWorkspace();
    std::vector<uint8_t> bytes(DataFileMinimumSize);
    for (auto _ : state) {
        const int fd = ::open(workspace.data().c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t armaments = ::pread(fd, bytes.data() + ArmamentTableBase,
                                          ArmamentTableEnd - ArmamentTableBase, ArmamentTableBase);
        const ssize_t weapons =
            ::pread(fd, bytes.data() + WeaponRecordOffset(1),
                    DataFileMinimumSize - WeaponRecordOffset(1), WeaponRecordOffset(1));
        ::close(fd);
        if (armaments + weapons !=
            (ArmamentTableEnd - ArmamentTableBase) + (DataFileMinimumSize - WeaponRecordOffset(1)))
            state.SkipWithError("short read");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReadTables_PreadFloor)->Unit(benchmark::kMillisecond);

// Decoding and formatting alone, from an image in memory, into a stream that drops the text.
void BM_FormatCsv_Memory(benchmark::State& state)
{
    HeldDataFile file(SharedWorkspace().data(), HeldDataFile::Access::ReadOnly);
    const DataImage image = ReadTables(file);
    std::ostream discard(nullptr);
    for (auto _ : state)
        for (TableId id : {TableId::Weapons, TableId::Slots, TableId::Armaments})
            WriteCsvTable(discard, Table(id), image, {});
    CountRows(state);
}
BENCHMARK(BM_FormatCsv_Memory)->Unit(benchmark::kMillisecond);

// The check of every weapon's save: the two region reads, every field brought within the range
// the window shows it in, and the lines of what would change. The random file puts some
// 120000 fields outside their ranges; in the file of zeros only the 1921 months are.
void BM_Check(benchmark::State& state, std::string (Workspace::*file)() const)
{
    const Workspace& workspace = SharedWorkspace();
    for (auto _ : state) {
        std::ostringstream console;
        RunCheck({(workspace.*file)(), false}, console);
    }
    CountRows(state);
}
BENCHMARK_CAPTURE(BM_Check, Random, &Workspace::data)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Zeros, &Workspace::zeros)->Unit(benchmark::kMillisecond);

// A diff of the file with itself: two whole-file reads and every field compared.
void BM_Diff_Same(benchmark::State& state)
{
    const Workspace& workspace = SharedWorkspace();
    for (auto _ : state) {
        std::ostringstream console;
        RunDiff({workspace.data(), workspace.data(), false}, console);
    }
}
BENCHMARK(BM_Diff_Same)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace kt63::bench

BENCHMARK_MAIN();
