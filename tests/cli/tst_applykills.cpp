// The real kt63-table applying a patch of every field of every weapon (51,867 fields), stopped
// at seeded random moments while it writes: killed, or interrupted as by Ctrl+C. Whatever the
// moment, the file is never left mixed: the interrupted apply puts back what it wrote, and the
// next command after a kill finds the journal and does.

#include "clitestfiles.h"
#include "process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <random>
#include <thread>

namespace kt63 {
namespace {

using Clock = std::chrono::steady_clock;

enum class Stop { Kill, Interrupt };

// The files, made once: the old data file, the same with every weapon field changed, and the
// weapons table of the latter as the patch, dumped by the program itself.
class Files
{
public:
    Files()
    {
        oldBytes = test::RandomBytes(test::DataFileSize, 91);
        newBytes = oldBytes;
        for (int32_t weapon = 1; weapon <= 1921; ++weapon)
            for (const test::HandField& field : test::WeaponLayout())
                newBytes[static_cast<size_t>(test::WeaponAt(weapon, field.offset))] ^= 1;
        test::WriteBytes(data, newBytes);
        const test::ProgramRun dump = test::RunProgram(
            KT63_TABLE_PROGRAM, {"dump", data, "--table", "weapons", "--out", patch});
        if (dump.status != 0)
            throw std::runtime_error("cannot dump the patch: " + dump.output);
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    std::string journal = data + "-kt63-journal";
    std::string patch = dir.path("weapons.csv");
    std::string output = dir.path("output.txt");
    test::Bytes oldBytes;
    test::Bytes newBytes;
};

// Starts the apply on the old file, waits until its journal is there (its writes come next) and
// then for `delay`, and stops it. Gives how it ended.
int StopApply(const Files& files, Stop stop, Clock::duration delay)
{
    test::WriteBytes(files.data, files.oldBytes);
    test::StoppableProgram apply(KT63_TABLE_PROGRAM, {"apply", files.data, files.patch},
                                 files.output);
    while (!test::Exists(files.journal) && !apply.Ended())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    std::this_thread::sleep_for(delay);
    if (stop == Stop::Kill)
        apply.Kill();
    else if (!apply.Interrupt())
        return 0;
    return apply.Wait();
}

// How long an apply writes: from its journal's creation to its end.
Clock::duration WritingTime(const Files& files)
{
    test::WriteBytes(files.data, files.oldBytes);
    test::StoppableProgram apply(KT63_TABLE_PROGRAM, {"apply", files.data, files.patch},
                                 files.output);
    while (!test::Exists(files.journal) && !apply.Ended())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(apply.Wait(), 0) << test::ReadText(files.output);
    EXPECT_EQ(test::ReadBytes(files.data), files.newBytes);
    return Clock::now() - start;
}

bool IsWhole(const test::Bytes& bytes, const Files& files)
{
    return bytes == files.oldBytes || bytes == files.newBytes;
}

struct StopRow
{
    const char* name;
    Stop stop;
    uint32_t seed;
};

void PrintTo(const StopRow& row, std::ostream* out)
{
    *out << row.name;
}

class StoppedApply : public ::testing::TestWithParam<StopRow>
{
protected:
    static void SetUpTestSuite()
    {
        files = new Files;
        writing = WritingTime(*files);
    }
    static void TearDownTestSuite() { delete files; }

    static Files* files;
    static Clock::duration writing;
};

Files* StoppedApply::files = nullptr;
Clock::duration StoppedApply::writing{};

constexpr int kTrials = 5;

TEST_P(StoppedApply, NeverLeavesAMixedFile)
{
    const StopRow& row = GetParam();
#ifdef _WIN32
    if (row.stop == Stop::Interrupt)
        GTEST_SKIP() << "Windows sends Ctrl+C to every program of a console, not to one";
#endif
    std::mt19937 engine(row.seed);
    std::uniform_int_distribution<int64_t> moment(0, writing.count());
    int undone = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        const int status = StopApply(*files, row.stop, Clock::duration(moment(engine)));
        const std::string said = test::ReadText(files->output);
        if (row.stop == Stop::Interrupt) {
            const test::Bytes after = test::ReadBytes(files->data);
            ASSERT_TRUE(IsWhole(after, *files)) << "trial " << trial;
            EXPECT_FALSE(test::Exists(files->journal));
            // Stopped once the change was in, while it was listed, or ended before the stop.
            if (after == files->newBytes)
                continue;
            EXPECT_EQ(status, -SIGINT) << said;
            EXPECT_EQ(said, "kt63-table: ﾌｧｲﾙ " + files->data +
                                " への書き込みは中断されました: 保存されていません.\n");
            ++undone;
            continue;
        }
        const bool journalLeft = test::Exists(files->journal);
        const test::ProgramRun check =
            test::RunProgram(KT63_TABLE_PROGRAM, {"check", files->data}, files->output);
        EXPECT_NE(check.status, 2) << check.output;
        ASSERT_TRUE(IsWhole(test::ReadBytes(files->data), *files)) << "trial " << trial;
        EXPECT_FALSE(test::Exists(files->journal));
        if (journalLeft && check.output.find("was undone") != std::string::npos) {
            EXPECT_EQ(test::ReadBytes(files->data), files->oldBytes);
            ++undone;
        }
    }
    std::cout << undone << " of " << kTrials << " stopped applies were put back\n";
}

INSTANTIATE_TEST_SUITE_P(Stops, StoppedApply,
                         ::testing::Values(StopRow{"killed", Stop::Kill, 1},
                                           StopRow{"interrupted", Stop::Interrupt, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
