#include "cp932.h"
#include "editorworkspace.h"
#include "namelistfile.h"
#include "namescan.h"
#include "tsdiappform.h"

#include <benchmark/benchmark.h>

#include <QStringList>

// Building and showing the main window, beside the data work the build holds: reading
// "WN.dat", finding its names and decoding each from Shift-JIS, without any widget.
namespace kt63::bench {

namespace {

// Taking each window down again is left out of the time.
void BM_BuildAndShowForm_Window(benchmark::State& state)
{
    BuildTimes total;
    for (auto _ : state) {
        BuildTimes times;
        std::unique_ptr<TSDIAppForm> form = BuildAndShowForm(times);
        state.SetIterationTime(times.build + times.show);
        total.build += times.build;
        total.show += times.show;
        TakeDownForm(std::move(form));
    }
    using benchmark::Counter;
    state.counters["build_ms"] = Counter(total.build * 1e3, Counter::kAvgIterations);
    state.counters["show_ms"] = Counter(total.show * 1e3, Counter::kAvgIterations);
}

// The window decodes each name on its own; so does this.
void BM_BuildAndShowForm_NameListData(benchmark::State& state)
{
    for (auto _ : state) {
        const NameListFile list = ReadNameListFile("WN.dat");
        QStringList names;
        ScanNames(list.namesArea.data(), static_cast<int32_t>(list.namesArea.size()),
                  [&names](std::string_view name) {
                      names.append(QString::fromStdString(DecodeCp932(name)));
                  });
        benchmark::DoNotOptimize(names);
    }
}

} // namespace

BENCHMARK(BM_BuildAndShowForm_Window)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAndShowForm_NameListData)->Unit(benchmark::kMillisecond);

} // namespace kt63::bench
