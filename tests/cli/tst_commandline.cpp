#include "clitestfiles.h"
#include "exception.h"
#include "process.h"
#include "tfilestream.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

namespace kt63 {
namespace {

using test::ProgramRun;

ProgramRun RunProgram(const std::vector<std::string>& arguments)
{
    return test::RunProgram(KT63_TABLE_PROGRAM, arguments);
}

// Runs the program with `words`, separated by spaces.
ProgramRun RunWords(const std::string& words)
{
    std::istringstream in(words);
    return RunProgram(
        {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()});
}

class CommandLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bytes = test::RandomBytes(test::DataFileSize, 51);
        test::WriteBytes(a, bytes);
        bytes[static_cast<size_t>(test::WeaponAt(17, 28))] ^= 0x01;
        test::WriteBytes(b, bytes);
    }

    test::TempDir dir;
    std::string a = dir.path("a.dll");
    std::string b = dir.path("b.dll");
    test::Bytes bytes;
};

TEST_F(CommandLine, DiffExitsLikeDiff)
{
    EXPECT_EQ(RunProgram({"diff", a, a}).status, 0);
    const ProgramRun different = RunProgram({"diff", a, b});
    EXPECT_EQ(different.status, 1);
    EXPECT_EQ(different.output.rfind("weapon 17 Speed ", 0), 0u) << different.output;
    const ProgramRun missing = RunProgram({"diff", a, dir.path("none")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output, "kt63-table: ﾌｧｲﾙ " + dir.path("none") + " は開けません.\n");
}

TEST_F(CommandLine, PatchFromDiffMakesTheFilesEqual)
{
    const std::string patch = dir.path("p.json");
    ASSERT_EQ(test::RunProgram(KT63_TABLE_PROGRAM, {"diff", "--json", a, b}, patch).status, 1);
    EXPECT_EQ(RunProgram({"apply", a, patch}).status, 0);
    EXPECT_EQ(test::ReadBytes(a), bytes);
    const ProgramRun again = RunProgram({"apply", a, patch});
    EXPECT_EQ(again.status, 1) << "the old values no longer match";
    EXPECT_NE(again.output.find("conflict"), std::string::npos) << again.output;
}

// Another program holds the data file in a mode of its own while kt63-table runs: the editor's
// mode 34 lets apply only read, so a dry run lists the changes while the apply itself cannot
// take the file for writing and says so, changing nothing.
struct HeldRow
{
    const char* name;
    uint16_t holderMode;
    int dryRunStatus;
    int applyStatus;
};

void PrintTo(const HeldRow& row, std::ostream* out)
{
    *out << row.name;
}

class HeldByAnotherProgram : public CommandLine, public ::testing::WithParamInterface<HeldRow>
{
};

TEST_P(HeldByAnotherProgram, ApplyWritesOnlyWhatTheHoldersModeLets)
{
    const HeldRow& row = GetParam();
    const std::string patch = dir.path("p.json");
    ASSERT_EQ(test::RunProgram(KT63_TABLE_PROGRAM, {"diff", "--json", a, b}, patch).status, 1);
    const test::Bytes before = test::ReadBytes(a);
    const std::string refused = "kt63-table: ﾌｧｲﾙ " + a + " は開けません.\n";
    {
        test::RunningProgram holder(KT63_HOLDFILE_PROGRAM, {a, std::to_string(row.holderMode)});
        ASSERT_EQ(holder.ReadLine(), "held");
        const ProgramRun dryRun = RunProgram({"apply", "--dry-run", a, patch});
        EXPECT_EQ(dryRun.status, row.dryRunStatus) << dryRun.output;
        const bool dryRunOpens = row.dryRunStatus == 0;
        EXPECT_EQ(dryRun.output.rfind(dryRunOpens ? "would write weapon 17 Speed " : refused, 0),
                  0u)
            << dryRun.output;
        const ProgramRun apply = RunProgram({"apply", a, patch});
        EXPECT_EQ(apply.status, row.applyStatus) << apply.output;
        const bool applyOpens = row.applyStatus == 0;
        EXPECT_EQ(apply.output.rfind(applyOpens ? "weapon 17 Speed " : refused, 0), 0u)
            << apply.output;
    }
    EXPECT_EQ(test::ReadBytes(a), row.applyStatus == 0 ? bytes : before);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, HeldByAnotherProgram,
    ::testing::Values(HeldRow{"editor_holds_the_data_file", fmOpenReadWrite | fmShareDenyWrite, 0,
                              2},
                      HeldRow{"held_exclusively", fmOpenRead | fmShareExclusive, 2, 2},
                      HeldRow{"reader_denying_nothing", fmOpenRead | fmShareDenyNone, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct HelpRow
{
    const char* name;
    const char* arguments;
    int status;
    const char* part; // a piece of text the output must hold
};

class Help : public ::testing::TestWithParam<HelpRow>
{
};

TEST_P(Help, ExplainsEveryCommand)
{
    const ProgramRun run = RunWords(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.output.find(GetParam().part), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Help,
    ::testing::Values(HelpRow{"program", "--help", 0, "Subcommands:"},
                      HelpRow{"dump", "dump --help", 0,
                              "Level, Appearance and Theatre are the "
                              "stored bytes"},
                      HelpRow{"diff", "diff --help", 0, "Exit status 0 when equal"},
                      HelpRow{"check", "check --help", 0, "saving at once would change"},
                      HelpRow{"check_missing_file", "check /nonexistent/x.dll", 2,
                              "/nonexistent/x.dll は開けません"},
                      HelpRow{"apply", "apply --help", 0, "--dry-run"},
                      HelpRow{"no_command", "", 2, "subcommand"},
                      HelpRow{"bad_format", "dump x --format xml", 2, "--format"},
                      HelpRow{"apply_without_patch", "apply x", 2, "PATCH"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
