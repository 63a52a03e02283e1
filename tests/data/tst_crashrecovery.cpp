// A change with its rollback journal, stopped at every step of its writes and syncs (the
// journal's included) by a crash that keeps only what was synced (a power cut), everything
// written (a kill), or tears the write it stopped in; then recovered, and the recovery made to
// stand a power cut. The file is always exactly the old one or exactly the changed one.

#include "exception.h"
#include "helddatafile.h"
#include "journalrecovery.h"
#include "journalstore.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>

namespace kt63 {
namespace {

using test::Bytes;

// A disk that a crash can stop, seen as the data file and as its journal: what programs see of
// each, and what a sync has put onto the medium. Each write, sync, creation and removal is one
// step, counted from 1. After step `stopAfter` every step fails and does nothing, except that
// with `torn` the next one, when it writes, lands half. Steps from `failingStep` on, `failingSteps`
// of them, fail, and step `interruptAt` sets `interrupted`, as Ctrl+C would while it runs.
class ModelDisk final : public TStream, public JournalStore
{
public:
    struct File
    {
        Bytes seen;             // what programs read
        Bytes kept;             // what is on the medium
        bool seenThere = false; // the folder lists it
        bool keptThere = false; // the folder's record of it is on the medium
    };
    enum class Keep { Synced, Written };

    explicit ModelDisk(Bytes bytes) : data{bytes, bytes, true, true} {}
    ModelDisk(File dataFile, File journalFile) : data(dataFile), journal(journalFile) {}

    File data;
    File journal;
    int steps = 0;
    int removedAt = 0; // the step that removed the journal
    int stopAfter = -1;
    bool torn = false;
    int failingStep = 0;
    int failingSteps = 1;
    int interruptAt = 0;
    std::atomic<bool> interrupted{false};

    // After a power cut (Synced) only what the syncs put onto the medium is left; after a kill
    // (Written) the system keeps everything written, and may still lose it to a power cut.
    ModelDisk AfterCrash(Keep keep) const
    {
        if (keep == Keep::Written)
            return ModelDisk(data, journal);
        const auto survivor = [](const File& file) {
            return file.keptThere ? File{file.kept, file.kept, true, true} : File{};
        };
        return ModelDisk(survivor(data), survivor(journal));
    }

    int32_t Seek(int32_t offset, uint16_t origin) override
    {
        return mPosition = (origin == soFromCurrent ? mPosition : 0) + offset;
    }

    int32_t Read(void* buffer, int32_t count) override
    {
        const auto got = std::clamp(static_cast<int32_t>(data.seen.size()) - mPosition, 0, count);
        std::copy_n(data.seen.begin() + mPosition, got, static_cast<uint8_t*>(buffer));
        mPosition += got;
        SetLastError(0);
        return got;
    }

    int32_t Write(const void* buffer, int32_t count) override
    {
        const auto stored = static_cast<int32_t>(Landing(static_cast<size_t>(count)));
        std::copy_n(static_cast<const uint8_t*>(buffer), stored, data.seen.begin() + mPosition);
        mPosition += stored;
        SetLastError(stored == count ? 0 : EIO);
        return stored;
    }

    bool Sync() override
    {
        const bool synced = Next() == Act::Whole;
        data.kept = synced ? data.seen : data.kept;
        SetLastError(synced ? 0 : EIO);
        return synced;
    }

    std::string FileName() const override { return "Qelvint.dll"; }
    int64_t Size() override { return static_cast<int64_t>(data.seen.size()); }

    std::string Name() const override { return "Qelvint.dll-kt63-journal"; }

    Found Load(std::vector<uint8_t>& bytes, std::string&) override
    {
        bytes = journal.seen;
        return journal.seenThere ? Found::Read : Found::Nothing;
    }

    bool Create(std::string& failure) override
    {
        if (!Step(failure))
            return false;
        journal.seenThere = true;
        return true;
    }

    bool Append(std::span<const uint8_t> bytes, std::string& failure) override
    {
        const size_t stored = Landing(bytes.size());
        journal.seen.insert(journal.seen.end(), bytes.begin(), bytes.begin() + stored);
        return stored == bytes.size() || Fail(failure);
    }

    bool SyncAndClose(std::string& failure) override
    {
        if (!Step(failure))
            return false;
        journal.kept = journal.seen;
        return true;
    }

    bool SyncFolder(std::string& failure) override
    {
        if (!Step(failure))
            return false;
        journal.keptThere = journal.seenThere;
        return true;
    }

    bool Remove(std::string& failure) override
    {
        if (!Step(failure))
            return false;
        removedAt = steps;
        journal.seenThere = false;
        journal.seen.clear();
        return true;
    }

    // A journal torn before any entry is whole tells nothing of the file: it is kept aside,
    // which, for the file, is its removal.
    std::string AsideName() const override { return "Qelvint.dll-kt63-journal-damaged"; }
    bool SetAside(std::string& failure) override { return Remove(failure); }

private:
    enum class Act { Whole, Half, Not };

    Act Next()
    {
        ++steps;
        if (steps == interruptAt)
            interrupted = true;
        if (stopAfter >= 0 && steps > stopAfter)
            return torn && steps == stopAfter + 1 ? Act::Half : Act::Not;
        const bool fails = steps >= failingStep && steps < failingStep + failingSteps;
        return fails ? Act::Not : Act::Whole;
    }

    // Takes a step that writes `count` bytes: how many of them land.
    size_t Landing(size_t count)
    {
        const Act act = Next();
        return act == Act::Whole ? count : act == Act::Half ? count / 2 : 0;
    }

    // Takes a step: false, with the reason, when it fails.
    bool Step(std::string& failure) { return Next() == Act::Whole || Fail(failure); }

    static bool Fail(std::string& failure)
    {
        failure = std::generic_category().message(EIO);
        return false;
    }

    int32_t mPosition = 0;
};

using Keep = ModelDisk::Keep;

// Weapon 1's Speed, Fuel and CanBeCarried: one field of each width, so that a torn write lands
// half of the widest. A journal names nothing but the tables' fields.
const Bytes kOld = test::RandomBytes(1550300, 5);
const ByteSpan kWhole{1550200, 40};
const FieldWrite kWrites[] = {{{1550200, 1, true}, {0xA1}},
                              {{1550228, 2, true}, {0xB1, 0xB2}},
                              {{1550236, 4, true}, {0xC1, 0xC2, 0xC3, 0xC4}}};

// Whether every field of the change holds its new bytes in `bytes`.
bool HoldsEveryNewField(const Bytes& bytes)
{
    return std::all_of(std::begin(kWrites), std::end(kWrites), [&](const FieldWrite& write) {
        return std::equal(write.bytes.begin(), write.bytes.begin() + write.place.width,
                          bytes.begin() + write.place.offset);
    });
}

Bytes Changed()
{
    Bytes bytes = kOld;
    for (const FieldWrite& write : kWrites)
        std::copy_n(write.bytes.begin(), write.place.width, bytes.begin() + write.place.offset);
    return bytes;
}

// The message of the error the change ended with; empty when it ended well.
std::string RunChange(ModelDisk& disk)
{
    HeldDataFile file(disk);
    try {
        file.WriteAndReadBack({&kWhole, 1}, kWrites, {&disk, &disk.interrupted});
    } catch (const EStreamError& error) {
        return error.message();
    }
    return {};
}

// What the next kt63-table command does first.
void Recover(ModelDisk& disk)
{
    HeldDataFile file(disk);
    try {
        SettleJournal(file, disk, InspectJournal(file, disk));
    } catch (const EStreamError&) {
    }
}

// Step 1 creates the journal, 2 writes it, 3 syncs it, 4 syncs the folder; 5 to 7 write the
// fields, 8 syncs them, 9 removes the journal and 10 syncs the folder.
constexpr int kFieldsSynced = 8;

// The disk after an apply that wrote and synced every field and was killed before it removed
// its journal.
ModelDisk KilledAfterTheWrites()
{
    ModelDisk disk(kOld);
    disk.stopAfter = kFieldsSynced;
    RunChange(disk);
    return disk.AfterCrash(Keep::Written);
}

// An apply; one interrupted while it reads its fields back, after their sync, so that it puts
// them back and syncs them again before it removes its journal; and the recovery after a kill.
enum class Scenario { Apply, InterruptedApply, Recovery };

ModelDisk Start(Scenario scenario)
{
    return scenario == Scenario::Recovery ? KilledAfterTheWrites() : ModelDisk(kOld);
}

void RunScenario(Scenario scenario, ModelDisk& disk)
{
    disk.interruptAt = scenario == Scenario::InterruptedApply ? kFieldsSynced : 0;
    if (scenario == Scenario::Recovery)
        Recover(disk);
    else
        RunChange(disk);
}

struct CrashRow
{
    std::string name;
    Scenario scenario;
    int stopAfter;
    Keep keep;
    bool torn;
};

void PrintTo(const CrashRow& row, std::ostream* out)
{
    *out << row.name;
}

// Each scenario runs once to the end, to count its steps.
std::vector<CrashRow> CrashRows()
{
    const std::pair<const char*, Scenario> scenarios[] = {
        {"apply", Scenario::Apply},
        {"interrupted_apply", Scenario::InterruptedApply},
        {"recovery", Scenario::Recovery}};
    std::vector<CrashRow> rows;
    for (const auto& [name, scenario] : scenarios) {
        ModelDisk whole = Start(scenario);
        RunScenario(scenario, whole);
        for (int k = 0; k <= whole.steps; ++k) {
            const std::string at = std::string(name) + "_stopped_after_" + std::to_string(k);
            rows.push_back({at + "_synced", scenario, k, Keep::Synced, false});
            rows.push_back({at + "_written", scenario, k, Keep::Written, false});
            rows.push_back({at + "_next_write_torn", scenario, k, Keep::Written, true});
        }
    }
    return rows;
}

class Crash : public ::testing::TestWithParam<CrashRow>
{
};

// The recovery only ever undoes: a file the crash left with every field new keeps the change
// (the apply had written it all), and any other is brought back to the old file.
TEST_P(Crash, LeavesTheOldOrTheChangedFileOnceRecovered)
{
    const CrashRow& row = GetParam();
    ModelDisk disk = Start(row.scenario);
    disk.stopAfter = row.stopAfter;
    disk.torn = row.torn;
    RunScenario(row.scenario, disk);
    ModelDisk after = disk.AfterCrash(row.keep);
    const bool written = HoldsEveryNewField(after.data.seen);
    Recover(after);
    EXPECT_EQ(after.data.seen, written ? Changed() : kOld);
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
    int interruptAt;
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
    disk.interruptAt = row.interruptAt;
    EXPECT_EQ(RunChange(disk), row.message);
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

// Steps as numbered above kFieldsSynced.
INSTANTIATE_TEST_SUITE_P(
    Steps, ChangeFault,
    ::testing::Values(FaultRow{"journal_not_created", 1, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"journal_not_written", 2, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"journal_not_synced", 3, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"folder_not_synced", 4, 1, 0, kJournalNotWritten, false, false},
                      FaultRow{"second_field_not_written", 6, 1, 0, kNotWritten, false, false},
                      FaultRow{"journal_not_removed", 9, 1, 0, kNotRemoved, true, false},
                      FaultRow{"removal_not_synced", 10, 1, 0, kNotRemoved, false, false},
                      FaultRow{"second_field_and_the_put_back_not_written", 6, 3, 0,
                               kNotWritten + ": 一部だけ書き込まれたかもしれません", true, true},
                      FaultRow{"interrupted_in_the_second_write", 0, 1, 6, kInterrupted, false,
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
