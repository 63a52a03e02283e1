#include "benchworkload.h"
#include "syscallplan.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The raw floors replay CodecPlan; they only measure the codec's cost if that is exactly the
// sequence the codec makes, so a difference stops the run instead of giving figures.
bool FloorsFollowTheCodec()
{
    using namespace kt63::bench;
    for (const Job& job : LoadJobs())
        if (RecordedLoadPlan(job.address) != CodecPlan(job.address))
            return false;
    for (const Job& job : SaveJobs())
        if (RecordedSavePlan(job.address) != SavePlan(job.address))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!FloorsFollowTheCodec()) {
        std::fputs("The codec's seek/transfer sequence differs from the one derived from the "
                   "field tables; the raw floors would not measure the same work.\n",
                   stderr);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
