// A change with its rollback journal, stopped at every step of its writes and syncs (the
// journal's included) by a crash that keeps only what was synced (a power cut), or everything
// written (a kill), or that tears the write it stopped in; then recovered, and the recovery made
// to stand a power cut. The file is always exactly the old one or exactly the changed one.

#include "exception.h"
#include "helddatafile.h"
#include "journalrecovery.h"
#include "modeldisk.h"
#include "rollbackjournal.h"

#include <gtest/gtest.h>

namespace kt63 {
namespace {

using test::Bytes;
using test::ModelDisk;
using Keep = ModelDisk::Keep;

const Bytes kOld = test::RandomBytes(64, 5);
const ByteSpan kWhole{0, 64};
// One field of each width, so that a torn write lands half of the widest.
const FieldWrite kWrites[] = {{{5, 1, true}, {0xA1}},
                              {{17, 2, true}, {0xB1, 0xB2}},
                              {{40, 4, true}, {0xC1, 0xC2, 0xC3, 0xC4}}};

Bytes Changed()
{
    Bytes bytes = kOld;
    bytes[5] = 0xA1;
    bytes[17] = 0xB1;
    bytes[18] = 0xB2;
    for (size_t i = 0; i < 4; ++i)
        bytes[40 + i] = static_cast<uint8_t>(0xC1 + i);
    return bytes;
}

enum class Scenario { Apply, InterruptedApply, ApplyWithStuckJournal, Recovery, WindowSave };

// The message of the error the change ended with; empty when it ended well.
std::string RunChange(ModelDisk& disk, bool journaled)
{
    test::ModelDataStream stream(disk);
    HeldDataFile file(stream);
    test::ModelJournal journal(disk);
    try {
        if (journaled)
            file.WriteAndReadBack({&kWhole, 1}, kWrites, {&journal, &disk.interrupted});
        else
            file.Write({&kWhole, 1}, kWrites);
    } catch (const EStreamError& error) {
        return error.message();
    }
    return {};
}

// What the next kt63-table command does first.
JournalVerdict Recover(ModelDisk& disk)
{
    test::ModelDataStream stream(disk);
    HeldDataFile file(stream);
    test::ModelJournal journal(disk);
    try {
        const JournalInspection found = InspectJournal(file, journal);
        SettleJournal(file, journal, found);
        return found.verdict;
    } catch (const EStreamError&) {
        return JournalVerdict::None;
    }
}

// The disk after an apply that wrote its journal and every field, synced, and was killed.
ModelDisk KilledAfterTheWrites()
{
    ModelDisk disk(kOld);
    disk.stopAfter = 8;
    RunChange(disk, true);
    return disk.AfterCrash(Keep::Written);
}

void RunScenario(Scenario scenario, ModelDisk& disk)
{
    if (scenario == Scenario::Recovery)
        Recover(disk);
    else
        RunChange(disk, scenario != Scenario::WindowSave);
}

ModelDisk StartOf(Scenario scenario)
{
    return scenario == Scenario::Recovery ? KilledAfterTheWrites() : ModelDisk(kOld);
}

// Ctrl+C during the second field's write: the third is not written, the two are put back.
constexpr int kInterruptAt = 6;
// The journal's removal after the synced writes fails: the fields are put back and synced again.
constexpr int kStuckRemoval = 9;

void Prepare(Scenario scenario, ModelDisk& disk)
{
    disk.interruptAtStep = scenario == Scenario::InterruptedApply ? kInterruptAt : 0;
    disk.failingStep = scenario == Scenario::ApplyWithStuckJournal ? kStuckRemoval : 0;
}

struct StepsRow
{
    const char* name;
    Scenario scenario;
    std::vector<std::string> steps;
};

void PrintTo(const StepsRow& row, std::ostream* out)
{
    *out << row.name;
}

class Steps : public ::testing::TestWithParam<StepsRow>
{
};

TEST_P(Steps, ComeInThisOrder)
{
    ModelDisk disk = StartOf(GetParam().scenario);
    Prepare(GetParam().scenario, disk);
    RunScenario(GetParam().scenario, disk);
    EXPECT_EQ(disk.steps, GetParam().steps);
}

const std::vector<std::string> kJournalMade{"journal create", "journal write", "journal sync",
                                            "folder sync"};
const std::vector<std::string> kThreeWrites{"data write", "data write", "data write"};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<StepsRow> kStepsRows{
    {"apply", Scenario::Apply,
     Joined({kJournalMade, kThreeWrites, {"data sync", "journal remove", "folder sync"}})},
    {"interrupted_apply", Scenario::InterruptedApply,
     Joined({kJournalMade,
             {"data write", "data write", "data write", "data write"},
             {"data sync", "journal remove", "folder sync"}})},
    {"apply_with_stuck_journal", Scenario::ApplyWithStuckJournal,
     Joined({kJournalMade,
             kThreeWrites,
             {"data sync", "journal remove"},
             kThreeWrites,
             {"data sync"}})},
    {"recovery", Scenario::Recovery,
     Joined({kThreeWrites, {"data sync", "journal remove", "folder sync"}})},
    {"window_save_writes_no_journal", Scenario::WindowSave, Joined({kThreeWrites, {"data sync"}})},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, Steps, ::testing::ValuesIn(kStepsRows),
                         [](const auto& info) { return std::string(info.param.name); });

// --- A crash at every step ---------------------------------------------------------------------

struct CrashRow
{
    std::string name;
    Scenario scenario;
    int stopAfter;
    Keep keep;
    bool torn;
    bool changed; // what the file must be after recovery
};

void PrintTo(const CrashRow& row, std::ostream* out)
{
    *out << row.name;
}

// For each scenario: how many steps it takes, and after which step a crash that keeps only the
// synced bytes, or everything written, leaves the change in: once the journal's removal is on
// the medium, or once it is done. Never for an apply that was put back, and for a recovery.
struct CrashPlan
{
    const char* name;
    Scenario scenario;
    int steps;
    int changedFromSynced;
    int changedFromWritten;
};

constexpr int kNever = 1000;
constexpr CrashPlan kPlans[] = {
    {"apply", Scenario::Apply, 10, 10, 9},
    {"interrupted_apply", Scenario::InterruptedApply, 11, kNever, kNever},
    {"apply_with_stuck_journal", Scenario::ApplyWithStuckJournal, 13, kNever, kNever},
    {"recovery", Scenario::Recovery, 6, kNever, kNever},
};

std::vector<CrashRow> CrashRows()
{
    std::vector<CrashRow> rows;
    for (const CrashPlan& plan : kPlans)
        for (int k = 0; k <= plan.steps; ++k) {
            const std::string at = std::string(plan.name) + "_stopped_after_" + std::to_string(k);
            rows.push_back({at + "_synced", plan.scenario, k, Keep::Synced, false,
                            k >= plan.changedFromSynced});
            rows.push_back({at + "_written", plan.scenario, k, Keep::Written, false,
                            k >= plan.changedFromWritten});
            rows.push_back({at + "_next_write_torn", plan.scenario, k, Keep::Written, true,
                            k >= plan.changedFromWritten});
        }
    return rows;
}

class Crash : public ::testing::TestWithParam<CrashRow>
{
};

TEST_P(Crash, LeavesTheOldOrTheChangedFileOnceRecovered)
{
    const CrashRow& row = GetParam();
    ModelDisk disk = StartOf(row.scenario);
    disk.stopAfter = row.stopAfter;
    disk.torn = row.torn;
    Prepare(row.scenario, disk);
    RunScenario(row.scenario, disk);
    ModelDisk after = disk.AfterCrash(row.keep);
    Recover(after);
    EXPECT_EQ(after.data.seen, row.changed ? Changed() : kOld);
    EXPECT_EQ(after.data.kept, after.data.seen) << "a power cut now would lose the recovery";
    EXPECT_FALSE(after.journal.seenThere);
    // A kill between the journal's removal and the folder's sync leaves the removal to the
    // system: a power cut before it writes it brings the journal back, and the change is undone
    // then. Never a mixed file.
    ModelDisk cut = after.AfterCrash(Keep::Synced);
    Recover(cut);
    EXPECT_TRUE(cut.data.seen == kOld || cut.data.seen == Changed());
    EXPECT_FALSE(cut.journal.seenThere || cut.journal.keptThere);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Crash, ::testing::ValuesIn(CrashRows()),
                         [](const auto& info) { return info.param.name; });

// --- A step that fails, or Ctrl+C, without a crash ---------------------------------------------

struct FaultRow
{
    const char* name;
    int failingStep;
    int failingSteps;
    int interruptAtStep;
    std::string message;
    bool journalLeft;   // it then puts back what the change could not
    bool partlyWritten; // before the recovery
};

void PrintTo(const FaultRow& row, std::ostream* out)
{
    *out << row.name;
}

class ChangeFault : public ::testing::TestWithParam<FaultRow>
{
};

TEST_P(ChangeFault, IsReportedAndTheOldFileComesBack)
{
    const FaultRow& row = GetParam();
    ModelDisk disk(kOld);
    disk.failingStep = row.failingStep;
    disk.failingSteps = row.failingSteps;
    disk.interruptAtStep = row.interruptAtStep;
    EXPECT_EQ(RunChange(disk, true), row.message);
    EXPECT_EQ(disk.journal.seenThere, row.journalLeft);
    EXPECT_EQ(disk.data.seen != kOld, row.partlyWritten);
    disk.failingStep = 0;
    Recover(disk);
    EXPECT_EQ(disk.data.seen, kOld);
    EXPECT_FALSE(disk.journal.seenThere);
}

const std::string kFailure = " (" + std::generic_category().message(EIO) + ")";
const std::string kJournalNotWritten = "ﾌｧｲﾙ Qelvint.dll-kt63-journal に書き込めません" + kFailure;
const std::string kNotWritten = "ﾌｧｲﾙ Qelvint.dll に書き込めません" + kFailure;
const std::string kNotRemoved =
    "ﾌｧｲﾙ Qelvint.dll-kt63-journal を削除できません" + kFailure + ": 保存されていません";
const std::string kInterrupted =
    "ﾌｧｲﾙ Qelvint.dll への書き込みは中断されました: 保存されていません";

// Steps as in the "apply" row of kStepsRows.
INSTANTIATE_TEST_SUITE_P(
    Steps, ChangeFault,
    ::testing::Values(FaultRow{"journal_not_created", 1, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"journal_not_written", 2, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"journal_not_synced", 3, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"folder_not_synced", 4, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"first_field_not_written", 5, 1, 0, kNotWritten, false, false},
                      FaultRow{"fields_not_synced", 8, 1, 0, kNotWritten, false, false},
                      FaultRow{"journal_not_removed", 9, 1, 0, kNotRemoved, true, false},
                      FaultRow{"removal_not_synced", 10, 1, 0, kNotRemoved, false, false},
                      FaultRow{"second_field_put_back_and_sync_not_written", 6, 3, 0,
                               kNotWritten + ": 一部だけ書き込まれたかもしれません", true, true},
                      FaultRow{"interrupted_before_the_first_write", 0, 1, 4, kInterrupted, false,
                               false},
                      FaultRow{"interrupted_in_the_second_write", 0, 1, kInterruptAt, kInterrupted,
                               false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- What a journal found beside the file is to it ---------------------------------------------

// Two of the three fields written, then killed: the file is mixed, the journal whole.
ModelDisk KilledInTheWrites()
{
    ModelDisk disk(kOld);
    disk.stopAfter = 6;
    RunChange(disk, true);
    return disk.AfterCrash(Keep::Written);
}

void Rewrite(ModelDisk& disk, void (*alter)(RollbackJournal&))
{
    RollbackJournal journal = DecodeJournal(disk.journal.seen).journal;
    alter(journal);
    disk.journal.seen = EncodeJournal(journal);
}

// A byte of the third field, which the kill kept from being written, changed since by another
// program to a value neither old nor new.
constexpr int32_t kStrangeByte = 41;

struct FoundRow
{
    const char* name;
    void (*alter)(ModelDisk&);
    JournalVerdict verdict;
    bool undone;
};

void PrintTo(const FoundRow& row, std::ostream* out)
{
    *out << row.name;
}

class Found : public ::testing::TestWithParam<FoundRow>
{
};

TEST_P(Found, IsUndoneOnlyWhenItIsTheFilesOwn)
{
    const FoundRow& row = GetParam();
    ModelDisk disk = KilledInTheWrites();
    row.alter(disk);
    const Bytes before = disk.data.seen;
    const Bytes journal = disk.journal.seen;
    test::ModelDataStream stream(disk);
    HeldDataFile file(stream);
    test::ModelJournal store(disk);
    const JournalInspection found = InspectJournal(file, store);
    EXPECT_EQ(found.verdict, row.verdict);
    EXPECT_EQ(found.changedAt, row.verdict == JournalVerdict::ChangedSince ? kStrangeByte : -1);
    SettleJournal(file, store, found);
    EXPECT_EQ(disk.data.seen, row.undone ? kOld : before);
    const bool settled = row.undone || row.verdict == JournalVerdict::Incomplete;
    EXPECT_EQ(disk.journal.seenThere, !settled);
    if (!settled)
        EXPECT_EQ(disk.journal.seen, journal) << "a journal not the file's was changed";
}

INSTANTIATE_TEST_SUITE_P(
    Journals, Found,
    ::testing::Values(
        FoundRow{"unfinished", [](ModelDisk&) {}, JournalVerdict::Unfinished, true},
        FoundRow{
            "only_the_volume_number_differs",
            [](ModelDisk& disk) { Rewrite(disk, [](RollbackJournal& j) { ++j.identity.volume; }); },
            JournalVerdict::Unfinished, true},
        FoundRow{"cut_short",
                 [](ModelDisk& disk) { disk.journal.seen.resize(disk.journal.seen.size() / 2); },
                 JournalVerdict::Incomplete, false},
        FoundRow{
            "of_another_file",
            [](ModelDisk& disk) { Rewrite(disk, [](RollbackJournal& j) { ++j.identity.file; }); },
            JournalVerdict::OtherFile, false},
        FoundRow{"of_another_length",
                 [](ModelDisk& disk) { Rewrite(disk, [](RollbackJournal& j) { ++j.length; }); },
                 JournalVerdict::OtherLength, false},
        FoundRow{"file_changed_since",
                 [](ModelDisk& disk) {
                     uint8_t& byte = disk.data.seen[kStrangeByte];
                     while (byte == kOld[kStrangeByte] || byte == 0xC2)
                         ++byte;
                 },
                 JournalVerdict::ChangedSince, false},
        FoundRow{"no_journal_of_ours",
                 [](ModelDisk& disk) { disk.journal.seen = test::Hex("50 4b 03 04"); },
                 JournalVerdict::Unknown, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
