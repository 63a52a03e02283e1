#include "commands.h"
#include "dataimage.h"
#include "datalayout.h"
#include "tableworkspace.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The whole-file patch: every field of the file changed, applied from its JSON patch (92 MB)
// and from its three CSV tables, and the diff that makes the JSON patch. Each command runs in a
// child process of its own, so that what it costs is its own: peakMB, the largest resident
// size it reached (the benchmark process's few MB included), and cpuSeconds, the processor time
// it used, which the other processes of a busy machine do not stretch as they do the wall
// clock. Beside them the floor, measured the same way: the JSON patch read in pieces, and the
// data file written whole in one write and synced. Each apply goes back and forth (the JSON
// patch taken back out with --reverse, the CSV tables of the old file put back), so every
// field changes every time. The syncs wait for the disk, so the times are wall-clock times;
// TMPDIR chooses the disk.
namespace kt63::bench {

namespace {

// The other file (every byte of both tables with its lowest bit flipped), its JSON patch from
// the data file, and both files' CSV dumps, made once.
class WholePatch
{
public:
    WholePatch() : mWorkspace(SharedWorkspace())
    {
        std::vector<uint8_t> bytes;
        {
            HeldDataFile file(mWorkspace.data(), HeldDataFile::Access::ReadOnly);
            bytes = ReadWholeFile(file).bytes();
        }
        for (const ByteSpan& span : TableSpans())
            for (int32_t at = span.offset; at < span.offset + span.size; ++at)
                bytes[static_cast<size_t>(at)] ^= 1;
        std::ofstream(other(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        std::ofstream json(patch(), std::ios::binary);
        RunDiff({mWorkspace.data(), other(), true}, json);
        json.close();
        std::ofstream console("/dev/null");
        RunDump({other(), {}, "csv", mWorkspace.out("csv-new"), {}}, console);
        RunDump({mWorkspace.data(), {}, "csv", mWorkspace.out("csv-old"), {}}, console);
    }

    std::string data() const { return mWorkspace.data(); }
    std::string other() const { return mWorkspace.out("Other.dll"); }
    std::string patch() const { return mWorkspace.out("whole.json"); }
    std::vector<std::string> tables(bool changed) const
    {
        const std::string folder = mWorkspace.out(changed ? "csv-new" : "csv-old");
        return {folder + "/weapons.csv", folder + "/slots.csv", folder + "/armaments.csv"};
    }

private:
    const Workspace& mWorkspace;
};

const WholePatch& Shared()
{
    static const WholePatch files;
    return files;
}

// What a child process took: its peak resident size, and the processor time it used in the
// program and in the system.
struct ChildCost
{
    double peakMegabytes = 0;
    double cpuSeconds = 0;
};

double Seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Runs `work` in a child process; nothing when it did not end with status 0.
template <class Work> std::optional<ChildCost> RunInChild(Work work)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(work());
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return ChildCost{static_cast<double>(usage.ru_maxrss) / 1024,
                     Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

// `work` is told whether its turn goes back: every other one does.
void Measure(benchmark::State& state, const std::function<int(bool back)>& work)
{
    Shared();
    ChildCost most;
    bool back = false;
    for (auto _ : state) {
        const std::optional<ChildCost> cost = RunInChild([&] { return work(back); });
        if (!cost) {
            state.SkipWithError("the command failed");
            return;
        }
        most.peakMegabytes = std::max(most.peakMegabytes, cost->peakMegabytes);
        most.cpuSeconds = std::max(most.cpuSeconds, cost->cpuSeconds);
        back = !back;
    }
    // An odd number of turns leaves the file changed: the next benchmark finds it as it was.
    if (back)
        RunInChild([&] { return work(true); });
    state.counters["peakMB"] = most.peakMegabytes;
    state.counters["cpuSeconds"] = most.cpuSeconds;
}

// What a command prints goes where a console would take it: to the system, not into memory.
std::ofstream Console()
{
    return std::ofstream("/dev/null");
}

void BM_WholePatch_ApplyJson(benchmark::State& state)
{
    Measure(state, [](bool back) {
        std::ofstream console = Console();
        return RunApply({Shared().data(), {Shared().patch()}, false, {}, false, back}, console);
    });
}
BENCHMARK(BM_WholePatch_ApplyJson)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WholePatch_ApplyCsv(benchmark::State& state)
{
    Measure(state, [](bool back) {
        std::ofstream console = Console();
        return RunApply({Shared().data(), Shared().tables(!back), false, {}}, console);
    });
}
BENCHMARK(BM_WholePatch_ApplyCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// The diff of the two files into a JSON patch, as diff --json > patch.json writes it.
void BM_WholePatch_DiffJson(benchmark::State& state)
{
    Measure(state, [](bool) {
        std::ofstream patch(Shared().patch() + ".again", std::ios::binary);
        return RunDiff({Shared().data(), Shared().other(), true}, patch) == ExitDifferent ? 0 : 1;
    });
}
BENCHMARK(BM_WholePatch_DiffJson)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the JSON patch read in pieces of 256 KiB, and the other file's bytes written over
// a copy of the data file in one write and synced.
void BM_WholePatch_Floor(benchmark::State& state)
{
    std::vector<char> bytes(static_cast<size_t>(DataFileMinimumSize));
    std::ifstream(Shared().other(), std::ios::binary).read(bytes.data(), DataFileMinimumSize);
    const std::string target = Shared().other() + ".floor";
    std::ofstream(target, std::ios::binary).write(bytes.data(), DataFileMinimumSize);
    Measure(state, [&](bool) {
        std::vector<char> piece(256 << 10);
        const int patch = ::open(Shared().patch().c_str(), O_RDONLY | O_CLOEXEC);
        while (::read(patch, piece.data(), piece.size()) > 0) {
        }
        ::close(patch);
        const int data = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        const bool written =
            ::pwrite(data, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()) &&
            ::fsync(data) == 0;
        ::close(data);
        return written ? 0 : 1;
    });
}
BENCHMARK(BM_WholePatch_Floor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace kt63::bench
