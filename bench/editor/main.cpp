#include "editorworkspace.h"
#include "tapplication.h"
#include "tcombobox.h"
#include "tsdiappform.h"
#include "tspinedit.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <exception>

namespace {

using namespace kt63::bench;

// The window benchmarks are only set beside the data ones if the window reads what they
// read: every name of "WN.dat" in its list, and a pick of entry i showing weapon C - i with
// armament group C - i - 1.
bool WindowReadsWhatTheDataBenchmarksRead()
{
    EditorWorkspace& workspace = EditorWorkspace::Current();
    kt63::TSDIAppForm& form = workspace.ShownForm();
    if (form.ComboBox1->ItemCount() != workspace.NameCount())
        return false;
    for (size_t n = 0; n < 16; ++n) {
        const int32_t index = PickIndices()[n];
        form.ComboBox1->SetItemIndex(index);
        form.ComboBox1Click();
        const int32_t weapon = workspace.NameCount() - index;
        if (form.SpinEdit1->Value() != weapon || form.SpinEdit2->Value() != weapon - 1)
            return false;
    }
    return true;
}

// Start-up costs that are paid once per process (the platform, fonts, styles) are in the
// first window only, which the repeated build cannot show; it is timed here, once.
void ReportFirstWindow(double applicationSeconds)
{
    BuildTimes times;
    TakeDownForm(BuildAndShowForm(times));
    std::fprintf(stderr,
                 "First window of this process: application %.1f ms, build %.1f ms, show %.1f "
                 "ms; %d names in WN.dat\n",
                 applicationSeconds * 1e3, times.build * 1e3, times.show * 1e3,
                 EditorWorkspace::Current().NameCount());
}

} // namespace

int main(int argc, char** argv)
{
    // Headless unless told otherwise, so that a run needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        const auto start = std::chrono::steady_clock::now();
        kt63::TApplication application(argc, argv);
        const std::chrono::duration<double> applicationTime =
            std::chrono::steady_clock::now() - start;
        EditorWorkspace workspace;
        ReportFirstWindow(applicationTime.count());
        if (!WindowReadsWhatTheDataBenchmarksRead()) {
            std::fputs("The window does not show the records the data benchmarks read; the "
                       "figures would not compare the same work.\n",
                       stderr);
            return 1;
        }
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
