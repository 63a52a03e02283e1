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
#include <memory>
#include <random>
#include <thread>

namespace kt63 {
namespace {

using Clock = std::chrono::steady_clock;

// The old data file, and the weapons table of the same with every weapon field changed as the
// patch, dumped by the program itself.
struct Files
{
    Files()
    {
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
    test::Bytes oldBytes = test::RandomBytes(test::DataFileSize, 91);
    test::Bytes newBytes = oldBytes;
};

// Starts the apply on the old file and waits until its journal is there: its writes come next.
std::unique_ptr<test::StoppableProgram> StartApply(const Files& files)
{
    test::WriteBytes(files.data, files.oldBytes);
    auto apply = std::make_unique<test::StoppableProgram>(
        KT63_TABLE_PROGRAM, std::vector<std::string>{"apply", files.data, files.patch},
        files.output);
    while (!test::Exists(files.journal) && !apply->Ended())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    return apply;
}

enum class Stop { Kill, Interrupt };

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
    // The moments to stop at are drawn from the time an apply writes, from its journal's
    // creation to its end.
    static void SetUpTestSuite()
    {
        files = new Files;
        const auto apply = StartApply(*files);
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(apply->Wait(), 0) << test::ReadText(files->output);
        writing = Clock::now() - start;
        EXPECT_EQ(test::ReadBytes(files->data), files->newBytes);
    }
    static void TearDownTestSuite() { delete files; }

    bool IsWhole(const test::Bytes& bytes) const
    {
        return bytes == files->oldBytes || bytes == files->newBytes;
    }

    static Files* files;
    static Clock::duration writing;
};

Files* StoppedApply::files = nullptr;
Clock::duration StoppedApply::writing{};

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
    for (int trial = 0; trial < 5; ++trial) {
        const auto apply = StartApply(*files);
        std::this_thread::sleep_for(Clock::duration(moment(engine)));
        if (row.stop == Stop::Kill)
            apply->Kill();
        else
            apply->Interrupt();
        const int status = apply->Wait();
        const std::string said = test::ReadText(files->output);
        const bool journalLeft = test::Exists(files->journal);
        if (row.stop == Stop::Interrupt) {
            // Stopped before the change was in: all put back, no journal left.
            ASSERT_TRUE(IsWhole(test::ReadBytes(files->data))) << "trial " << trial;
            EXPECT_FALSE(journalLeft);
            if (test::ReadBytes(files->data) == files->newBytes)
                continue;
            EXPECT_EQ(status, -SIGINT) << said;
            EXPECT_EQ(said, "kt63-table: ﾌｧｲﾙ " + files->data +
                                " への書き込みは中断されました: 保存されていません.\n");
        }
        const test::ProgramRun check =
            test::RunProgram(KT63_TABLE_PROGRAM, {"check", files->data}, files->output);
        EXPECT_NE(check.status, 2) << check.output;
        ASSERT_TRUE(IsWhole(test::ReadBytes(files->data))) << "trial " << trial;
        EXPECT_FALSE(test::Exists(files->journal));
        undone += test::ReadBytes(files->data) == files->oldBytes ? 1 : 0;
    }
    std::cout << undone << " of 5 stopped applies were put back\n";
}

INSTANTIATE_TEST_SUITE_P(Stops, StoppedApply,
                         ::testing::Values(StopRow{"killed", Stop::Kill, 1},
                                           StopRow{"interrupted", Stop::Interrupt, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
