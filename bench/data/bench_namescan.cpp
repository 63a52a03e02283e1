#include "benchworkload.h"
#include "datalayout.h"
#include "namescan.h"

#include <benchmark/benchmark.h>

#include <string_view>

namespace kt63::bench {

namespace {

// Arg: the area's length; the armament name area of the data file, then a large name list.
void BM_ScanNames(benchmark::State& state)
{
    const auto length = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> area = SyntheticNamesArea(length, 3);
    int64_t names = 0;
    const NameSink sink = [&names](std::string_view name) {
        benchmark::DoNotOptimize(name.data());
        ++names;
    };
    for (auto _ : state)
        ScanNames(area.data(), static_cast<int32_t>(area.size()), sink);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(length));
    state.SetItemsProcessed(names);
    state.counters["names"] = static_cast<double>(names / state.iterations());
}

} // namespace

BENCHMARK(BM_ScanNames)->Arg(NameAreaSize)->Arg(1 << 20);

} // namespace kt63::bench
