#include "editorworkspace.h"
#include "helddatafile.h"
#include "tcombobox.h"
#include "tsdiappform.h"
#include "ttabcontrol.h"
#include "weaponcodec.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

// The window's commands on its open data file, each beside the same codec call on the data
// library's own copy of that file, without widgets. The difference is what the widgets cost.
// Slot and tab stay at 0 except where the tab is what is measured, on both sides.
namespace kt63::bench {

namespace {

// The window at the first weapon of the pick list, on the first slot and tab.
TSDIAppForm& FormAtFirstPick()
{
    TSDIAppForm& form = EditorWorkspace::Current().ShownForm();
    form.TabControl1->SetTabIndex(0);
    form.ComboBox1->SetItemIndex(PickIndices().front());
    form.ComboBox1Click();
    QCoreApplication::processEvents();
    return form;
}

int32_t WeaponOfPick(int32_t index)
{
    return EditorWorkspace::Current().NameCount() - index;
}

// Runs `command` on the window once per iteration with the next of the 256 prepared inputs;
// `paintEach` also lets the window repaint what the command changed, which is what the user
// waits for.
template <class Command> void RunOnWindow(benchmark::State& state, bool paintEach, Command command)
{
    TSDIAppForm& form = FormAtFirstPick();
    size_t next = 0;
    for (auto _ : state) {
        command(form, next++ % SequenceLength);
        if (paintEach)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
}

void PickWeapon(TSDIAppForm& form, size_t step)
{
    form.ComboBox1->SetItemIndex(PickIndices()[step]);
    form.ComboBox1Click();
}

void ChangeTab(TSDIAppForm& form, size_t step)
{
    form.TabControl1->SetTabIndex(TabSequence()[step]);
    form.TabControl1Change();
}

void BM_WeaponPick_Window(benchmark::State& state)
{
    RunOnWindow(state, false, PickWeapon);
}
void BM_WeaponPick_WindowThenPaint(benchmark::State& state)
{
    RunOnWindow(state, true, PickWeapon);
}

void BM_WeaponPick_Data(benchmark::State& state)
{
    HeldDataFile& file = EditorWorkspace::Current().DataFile();
    size_t next = 0;
    for (auto _ : state) {
        const int32_t weapon = WeaponOfPick(PickIndices()[next++ % SequenceLength]);
        benchmark::DoNotOptimize(LoadWeapon(file, weapon, 0, 0));
    }
}

void BM_TabChange_Window(benchmark::State& state)
{
    RunOnWindow(state, false, ChangeTab);
}
void BM_TabChange_WindowThenPaint(benchmark::State& state)
{
    RunOnWindow(state, true, ChangeTab);
}

void BM_TabChange_Data(benchmark::State& state)
{
    HeldDataFile& file = EditorWorkspace::Current().DataFile();
    const int32_t weapon = WeaponOfPick(PickIndices().front());
    size_t next = 0;
    for (auto _ : state) {
        const RecordAddress address{weapon, 0, weapon - 1, TabSequence()[next++ % SequenceLength]};
        benchmark::DoNotOptimize(LoadArmament(file, address));
    }
}

void BM_Save_Window(benchmark::State& state)
{
    TSDIAppForm& form = FormAtFirstPick();
    for (auto _ : state)
        form.WriteClick();
}

// Saves the values a load of the same record gives, as the window saves what it shows.
void BM_Save_Data(benchmark::State& state)
{
    HeldDataFile& file = EditorWorkspace::Current().DataFile();
    const int32_t weapon = WeaponOfPick(PickIndices().front());
    const LoadedWeapon loaded = LoadWeapon(file, weapon, 0, 0);
    const RecordAddress address{weapon, 0, loaded.armament, 0};
    for (auto _ : state)
        SaveWeapon(file, address, loaded.weapon, loaded.armamentValues);
}

} // namespace

BENCHMARK(BM_WeaponPick_Window)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WeaponPick_WindowThenPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WeaponPick_Data)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabChange_Window)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabChange_WindowThenPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabChange_Data)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save_Window)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save_Data)->Unit(benchmark::kMicrosecond);

} // namespace kt63::bench
