#include "clitestfiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace kt63 {
namespace {

struct ProgramRun
{
    int status;
    std::string output; // standard output and standard error together
};

// Runs the program with `arguments` (already quoted for the shell).
ProgramRun RunProgram(const std::string& arguments)
{
    const std::string command = std::string(KT63_TABLE_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ProgramRun run{-1, {}};
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
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
    EXPECT_EQ(RunProgram("diff " + Quoted(a) + " " + Quoted(a)).status, 0);
    const ProgramRun different = RunProgram("diff " + Quoted(a) + " " + Quoted(b));
    EXPECT_EQ(different.status, 1);
    EXPECT_EQ(different.output.rfind("weapon 17 Speed ", 0), 0u) << different.output;
    const ProgramRun missing = RunProgram("diff " + Quoted(a) + " " + Quoted(dir.path("none")));
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.output, "kt63-table: ﾌｧｲﾙ " + dir.path("none") + " は開けません.\n");
}

TEST_F(CommandLine, PatchFromDiffMakesTheFilesEqual)
{
    const std::string patch = dir.path("p.json");
    ASSERT_EQ(
        RunProgram("diff --json " + Quoted(a) + " " + Quoted(b) + " > " + Quoted(patch)).status, 1);
    EXPECT_EQ(RunProgram("apply " + Quoted(a) + " " + Quoted(patch)).status, 0);
    EXPECT_EQ(test::ReadBytes(a), bytes);
    const ProgramRun again = RunProgram("apply " + Quoted(a) + " " + Quoted(patch));
    EXPECT_EQ(again.status, 1) << "the old values no longer match";
    EXPECT_NE(again.output.find("conflict"), std::string::npos) << again.output;
}

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
    const ProgramRun run = RunProgram(GetParam().arguments);
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
