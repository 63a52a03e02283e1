#include "benchworkload.h"
#include "datalayout.h"
#include "helddatafile.h"
#include "scratchdatafile.h"
#include "syscallplan.h"
#include "tfilestream.h"
#include "weaponcodec.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

// Each iteration is one whole operation on the next job of a fixed list: the codec through the
// held data file as the editor holds it (its looks at the file included), the codec on a stream
// that does nothing (its own share of the cost), and the
// floors for the same work on a bare descriptor of the same file: (a) the codec's own
// lseek/read (or write) sequence with everything precomputed, (b) one pread (or pwrite) per
// region touched.
namespace kt63::bench {

namespace {

std::vector<SyscallPlan> PlansOf(const std::vector<Job>& jobs)
{
    std::vector<SyscallPlan> plans;
    for (const Job& job : jobs)
        plans.push_back(CodecPlan(job.address));
    return plans;
}

// Passes every call on to the editor's stream except the sync, so that a save's seeks, reads and
// writes are timed apart from the flush to the storage, whose cost depends on the disk.
class UnsyncedStream final : public TStream
{
public:
    explicit UnsyncedStream(TFileStream& file) : mFile(file) {}
    int32_t Seek(int32_t offset, uint16_t origin) override { return mFile.Seek(offset, origin); }
    int32_t Read(void* buffer, int32_t count) override { return mFile.Read(buffer, count); }
    int32_t Write(const void* buffer, int32_t count) override { return mFile.Write(buffer, count); }
    bool Sync() override { return true; }
    std::string FileName() const override { return mFile.FileName(); }
    int64_t Size() override { return mFile.Size(); }
    StreamStatus CurrentStatus() override { return mFile.CurrentStatus(); }

private:
    TFileStream& mFile;
};

void CountOperations(benchmark::State& state, const SyscallPlan& plan)
{
    state.SetItemsProcessed(state.iterations());
    const int seeks = CountSeeks(plan);
    state.counters["syscalls"] = static_cast<double>(seeks + static_cast<int>(plan.size()));
}

void BM_LoadWeapon_Codec(benchmark::State& state)
{
    HeldDataFile file(SharedDataFile().stream());
    const std::vector<Job>& jobs = LoadJobs();
    size_t next = 0;
    for (auto _ : state) {
        const RecordAddress& address = jobs[next++ % JobCount].address;
        benchmark::DoNotOptimize(LoadWeapon(file, address.weapon, address.slot, address.tab));
    }
    CountOperations(state, CodecPlan(jobs.front().address));
}

void BM_LoadWeapon_CodecOnNullStream(benchmark::State& state)
{
    PositionStream stream;
    HeldDataFile file(stream);
    const std::vector<Job>& jobs = LoadJobs();
    size_t next = 0;
    for (auto _ : state) {
        const RecordAddress& address = jobs[next++ % JobCount].address;
        benchmark::DoNotOptimize(LoadWeapon(file, address.weapon, address.slot, address.tab));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_LoadWeapon_RawSyscalls(benchmark::State& state)
{
    const int fd = SharedDataFile().descriptor();
    const std::vector<SyscallPlan> plans = PlansOf(LoadJobs());
    uint8_t field[4];
    size_t next = 0;
    for (auto _ : state) {
        for (const SyscallStep& step : plans[next++ % JobCount]) {
            if (step.whence != NoSeek)
                ::lseek(fd, step.offset, step.whence);
            benchmark::DoNotOptimize(::read(fd, field, static_cast<size_t>(step.width)));
        }
        benchmark::ClobberMemory();
    }
    CountOperations(state, plans.front());
}

void BM_LoadWeapon_PreadPerRegion(benchmark::State& state)
{
    const int fd = SharedDataFile().descriptor();
    const std::vector<Job>& jobs = LoadJobs();
    uint8_t record[WeaponRecordSize];
    uint8_t slot[SlotEntrySize];
    uint8_t entry[ArmamentEntrySize];
    size_t next = 0;
    for (auto _ : state) {
        const RecordAddress& a = jobs[next++ % JobCount].address;
        benchmark::DoNotOptimize(::pread(fd, record, sizeof record, WeaponRecordOffset(a.weapon)));
        benchmark::DoNotOptimize(::pread(fd, slot, sizeof slot, SlotEntryOffset(a.weapon, a.slot)));
        benchmark::DoNotOptimize(
            ::pread(fd, entry, sizeof entry, ArmamentEntryOffset(a.armament, a.tab)));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["syscalls"] = 3;
}

// One whole save of the next job per iteration, through the held file `stream`.
void RunSaves(benchmark::State& state, TStream& stream)
{
    HeldDataFile file(stream);
    const std::vector<Job>& jobs = SaveJobs();
    size_t next = 0;
    for (auto _ : state) {
        const Job& job = jobs[next++ % JobCount];
        SaveWeapon(file, job.address, job.weapon, job.armament);
    }
    CountOperations(state, SavePlan(jobs.front().address));
}

// What a user's save costs, the sync to the disk included.
void BM_SaveWeapon_Codec(benchmark::State& state)
{
    RunSaves(state, SharedDataFile().stream());
}

void BM_SaveWeapon_CodecWithoutSync(benchmark::State& state)
{
    UnsyncedStream file(SharedDataFile().stream());
    RunSaves(state, file);
}

// One look at the held file, made before every load and save and again after a save's sync:
// one fstat of the descriptor, one stat of the path.
void BM_HeldFileStatus(benchmark::State& state)
{
    TFileStream& file = SharedDataFile().stream();
    for (auto _ : state)
        benchmark::DoNotOptimize(file.CurrentStatus());
    state.SetItemsProcessed(state.iterations());
}

void BM_SaveWeapon_CodecOnNullStream(benchmark::State& state)
{
    PositionStream stream;
    HeldDataFile file(stream);
    const std::vector<Job>& jobs = SaveJobs();
    size_t next = 0;
    for (auto _ : state) {
        const Job& job = jobs[next++ % JobCount];
        SaveWeapon(file, job.address, job.weapon, job.armament);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// A save's plan: the two reads of the bytes it replaces, then the field writes.
void BM_SaveWeapon_RawSyscalls(benchmark::State& state)
{
    const int fd = SharedDataFile().descriptor();
    const std::vector<Job>& jobs = SaveJobs();
    std::vector<SyscallPlan> plans;
    std::vector<std::vector<uint8_t>> bytes;
    for (const Job& job : jobs) {
        plans.push_back(SavePlan(job.address));
        bytes.push_back(EncodedFields(job));
    }
    const size_t readCount = BytesBeforeSavePlan(jobs.front().address).size();
    uint8_t before[WeaponRecordSize];
    size_t next = 0;
    for (auto _ : state) {
        const size_t job = next++ % JobCount;
        const uint8_t* from = bytes[job].data();
        for (size_t i = 0; i < plans[job].size(); ++i) {
            const SyscallStep& step = plans[job][i];
            if (step.whence != NoSeek)
                ::lseek(fd, step.offset, step.whence);
            if (i < readCount) {
                benchmark::DoNotOptimize(::read(fd, before, static_cast<size_t>(step.width)));
                continue;
            }
            benchmark::DoNotOptimize(::write(fd, from, static_cast<size_t>(step.width)));
            from += step.width;
        }
    }
    CountOperations(state, plans.front());
}

// Writes whole regions, the bytes between the fields included: cheaper than any save that
// keeps those bytes could be, which makes it a floor and not an alternative.
void BM_SaveWeapon_PwritePerRegion(benchmark::State& state)
{
    const int fd = SharedDataFile().descriptor();
    const std::vector<Job>& jobs = SaveJobs();
    const uint8_t record[WeaponRecordSize] = {};
    const uint8_t slot[SlotEntrySize] = {};
    const uint8_t entry[ArmamentEntrySize] = {};
    size_t next = 0;
    for (auto _ : state) {
        const RecordAddress& a = jobs[next++ % JobCount].address;
        benchmark::DoNotOptimize(::pwrite(fd, record, sizeof record, WeaponRecordOffset(a.weapon)));
        benchmark::DoNotOptimize(
            ::pwrite(fd, slot, sizeof slot, SlotEntryOffset(a.weapon, a.slot)));
        benchmark::DoNotOptimize(
            ::pwrite(fd, entry, sizeof entry, ArmamentEntryOffset(a.armament, a.tab)));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["syscalls"] = 3;
}

} // namespace

BENCHMARK(BM_LoadWeapon_Codec);
BENCHMARK(BM_LoadWeapon_CodecOnNullStream);
BENCHMARK(BM_LoadWeapon_RawSyscalls);
BENCHMARK(BM_LoadWeapon_PreadPerRegion);
BENCHMARK(BM_SaveWeapon_Codec);
BENCHMARK(BM_SaveWeapon_CodecWithoutSync);
BENCHMARK(BM_HeldFileStatus);
BENCHMARK(BM_SaveWeapon_CodecOnNullStream);
BENCHMARK(BM_SaveWeapon_RawSyscalls);
BENCHMARK(BM_SaveWeapon_PwritePerRegion);

} // namespace kt63::bench
