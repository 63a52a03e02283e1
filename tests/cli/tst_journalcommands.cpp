// What the real kt63-table does with a journal found beside the data file: each command that
// opens the file undoes an unfinished apply, removes an incomplete journal, or reports one that
// is not the file's, and says so; one that cannot settle it leaves it and the file alone.

#include "clitestfiles.h"
#include "process.h"
#include "rollbackjournal.h"
#include "tfilestream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kt63 {
namespace {

// Three fields of an apply that was killed after writing the first two.
struct JournalField
{
    int32_t offset;
    int32_t width;
};
const JournalField kFields[] = {
    {test::WeaponAt(1, 28), 1}, {test::WeaponAt(2, 56), 2}, {test::WeaponAt(3, 64), 4}};

enum class Found { Unfinished, Incomplete, OtherFile };
enum class After { Old, Mixed, OldPatched };

struct CommandRow
{
    const char* name;
    Found found;
    bool editorHolds; // another program holds the file in the editor's mode meanwhile
    std::vector<std::string> arguments; // DATA, PATCH, COPY, OUT stand for the test's files
    int status;
    std::string note; // what standard error says; DATA and JOURNAL stand for the paths
    After after;
    bool journalLeft;
};

void PrintTo(const CommandRow& row, std::ostream* out)
{
    *out << row.name;
}

std::string Replaced(std::string text, const std::string& name, const std::string& by)
{
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + by.size()))
        text.replace(at, name.size(), by);
    return text;
}

class JournalFound : public ::testing::TestWithParam<CommandRow>
{
protected:
    void SetUp() override
    {
        old = test::RandomBytes(test::DataFileSize, 81);
        mixed = old;
        RollbackJournal journal{{}, static_cast<int64_t>(old.size()), {}};
        for (size_t i = 0; i < std::size(kFields); ++i) {
            JournalEntry entry{kFields[i].offset, kFields[i].width, {}, {}};
            for (int32_t b = 0; b < entry.width; ++b) {
                entry.before[b] = old[static_cast<size_t>(entry.offset + b)];
                entry.after[b] = static_cast<uint8_t>(entry.before[b] ^ 0x5A);
                if (i < 2)
                    mixed[static_cast<size_t>(entry.offset + b)] = entry.after[b];
            }
            journal.entries.push_back(entry);
        }
        test::WriteBytes(data, mixed);
        test::WriteBytes(copy, old);
        journal.identity = TFileStream(data, fmOpenRead | fmShareDenyNone).CurrentStatus().identity;
        if (GetParam().found == Found::OtherFile)
            ++journal.identity.file;
        Bytes bytes = EncodeJournal(journal);
        if (GetParam().found == Found::Incomplete)
            bytes.resize(bytes.size() / 2);
        test::WriteBytes(data + "-kt63-journal", bytes);
        const uint8_t speed = old[static_cast<size_t>(test::WeaponAt(17, 28))];
        patched = old;
        patched[static_cast<size_t>(test::WeaponAt(17, 28))] = static_cast<uint8_t>(speed ^ 1);
        test::WriteText(patch, R"({"changes": [{"table": "weapons", "Weapon": 17, "field": )"
                               R"("Speed", "old": )" +
                                   std::to_string(speed) + R"(, "new": )" +
                                   std::to_string(speed ^ 1) + "}]}");
    }

    std::vector<std::string> Arguments() const
    {
        std::vector<std::string> arguments;
        for (const std::string& argument : GetParam().arguments)
            arguments.push_back(argument == "DATA"    ? data
                                : argument == "PATCH" ? patch
                                : argument == "COPY"  ? copy
                                : argument == "OUT"   ? dir.path("out.csv")
                                                      : argument);
        return arguments;
    }

    using Bytes = test::Bytes;
    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    std::string copy = dir.path("copy.dll");
    std::string patch = dir.path("p.json");
    Bytes old;
    Bytes mixed;
    Bytes patched;
};

TEST_P(JournalFound, IsSettledOrLeftAndSaidSo)
{
    const CommandRow& row = GetParam();
    std::optional<test::RunningProgram> holder;
    if (row.editorHolds) {
        holder.emplace(
            KT63_HOLDFILE_PROGRAM,
            std::vector<std::string>{data, std::to_string(fmOpenReadWrite | fmShareDenyWrite)});
        ASSERT_EQ(holder->ReadLine(), "held");
    }
    const test::ProgramRun run =
        test::RunProgram(KT63_TABLE_PROGRAM, Arguments(), dir.path("stdout.txt"));
    holder.reset();
    EXPECT_EQ(run.status, row.status) << run.output;
    const std::string note =
        Replaced(Replaced(row.note, "JOURNAL", data + "-kt63-journal"), "DATA", data);
    EXPECT_EQ(run.output, note);
    const Bytes& after = row.after == After::Old     ? old
                         : row.after == After::Mixed ? mixed
                                                     : patched;
    EXPECT_EQ(test::ReadBytes(data), after);
    EXPECT_EQ(test::Exists(data + "-kt63-journal"), row.journalLeft);
}

const std::string kUndone = "kt63-table: an unfinished apply to DATA was undone: JOURNAL put "
                            "back the old values of 3 fields.\n";
const std::string kNotIts = "kt63-table: JOURNAL is not the journal of DATA as it is now (it was "
                            "written for another file at this path)";
const std::string kPartly =
    "kt63-table: DATA is partly written by an apply that did not finish, which JOURNAL undoes; ";
const std::string kIncomplete =
    "JOURNAL, left incomplete by an apply that stopped before it wrote to DATA";

// check exits with 1: the random file holds values outside the window's ranges.
INSTANTIATE_TEST_SUITE_P(
    Commands, JournalFound,
    ::testing::Values(
        CommandRow{"check_undoes_an_unfinished_apply",
                   Found::Unfinished,
                   false,
                   {"check", "DATA"},
                   1,
                   kUndone,
                   After::Old,
                   false},
        CommandRow{"dump_undoes_it",
                   Found::Unfinished,
                   false,
                   {"dump", "DATA", "--table", "weapons", "--out", "OUT"},
                   0,
                   kUndone,
                   After::Old,
                   false},
        CommandRow{"diff_undoes_it",
                   Found::Unfinished,
                   false,
                   {"diff", "DATA", "COPY"},
                   0,
                   kUndone,
                   After::Old,
                   false},
        CommandRow{"apply_undoes_it_then_applies",
                   Found::Unfinished,
                   false,
                   {"apply", "DATA", "PATCH"},
                   0,
                   kUndone,
                   After::OldPatched,
                   false},
        CommandRow{"dry_run_leaves_it",
                   Found::Unfinished,
                   false,
                   {"apply", "--dry-run", "DATA", "PATCH"},
                   2,
                   kPartly + "--dry-run writes nothing, so run kt63-table check DATA first.\n",
                   After::Mixed,
                   true},
        CommandRow{"check_leaves_it_while_the_editor_holds_the_file",
                   Found::Unfinished,
                   true,
                   {"check", "DATA"},
                   2,
                   kPartly + "it cannot be held for writing now (in use by another program): "
                             "close the program that holds it (the editor's window, or an "
                             "apply still running) and run kt63-table again.\n",
                   After::Mixed,
                   true},
        CommandRow{"apply_cannot_take_the_file_the_editor_holds",
                   Found::Unfinished,
                   true,
                   {"apply", "DATA", "PATCH"},
                   2,
                   "kt63-table: ﾌｧｲﾙ DATA は開けません.\n",
                   After::Mixed,
                   true},
        CommandRow{"check_removes_an_incomplete_journal",
                   Found::Incomplete,
                   false,
                   {"check", "DATA"},
                   1,
                   "kt63-table: removed " + kIncomplete + ".\n",
                   After::Mixed,
                   false},
        CommandRow{"dry_run_leaves_an_incomplete_journal",
                   Found::Incomplete,
                   false,
                   {"apply", "--dry-run", "DATA", "PATCH"},
                   0,
                   "kt63-table: " + kIncomplete +
                       ", is left for the next command that holds it for writing.\n",
                   After::Mixed,
                   true},
        CommandRow{"check_reports_another_files_journal",
                   Found::OtherFile,
                   false,
                   {"check", "DATA"},
                   1,
                   kNotIts + ": left alone; delete it once DATA is as it should be.\n",
                   After::Mixed,
                   true},
        CommandRow{"apply_stops_at_another_files_journal",
                   Found::OtherFile,
                   false,
                   {"apply", "DATA", "PATCH"},
                   2,
                   kNotIts + ": nothing written; delete it once DATA is as it should be, then "
                             "apply again.\n",
                   After::Mixed,
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder that takes no new file cannot hold the journal: apply writes nothing, unless told to
// go without it.
TEST(ReadOnlyFolder, ApplyWritesNothingWithoutItsJournal)
{
#ifdef _WIN32
    GTEST_SKIP() << "a Windows folder refuses new files only through its access control list, "
                    "which Wine does not enforce";
#else
    test::TempDir dir;
    const std::string data = dir.path("Qelvint.dll");
    const test::Bytes old = test::RandomBytes(test::DataFileSize, 82);
    test::WriteBytes(data, old);
    const std::string patch = dir.path("p.json");
    const uint8_t speed = old[static_cast<size_t>(test::WeaponAt(17, 28))];
    test::WriteText(patch, R"({"changes": [{"table": "weapons", "Weapon": 17, "field": "Speed", )"
                           R"("old": )" +
                               std::to_string(speed) + R"(, "new": )" + std::to_string(speed ^ 1) +
                               "}]}");
    namespace fs = std::filesystem;
    fs::permissions(data, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                              ~fs::perms::others_exec);
    fs::permissions(dir.root(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    // Root writes into any folder: the program then runs as nobody.
    std::string program = KT63_TABLE_PROGRAM;
    std::vector<std::string> prefix;
    if (::geteuid() == 0) {
        if (!test::Exists("/usr/bin/setpriv"))
            GTEST_SKIP() << "running as root without setpriv, no folder refuses a new file";
        prefix = {"--reuid=65534", "--regid=65534", "--clear-groups", program};
        program = "/usr/bin/setpriv";
    }
    const auto apply = [&](std::vector<std::string> options) {
        std::vector<std::string> arguments = prefix;
        arguments.push_back("apply");
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.insert(arguments.end(), {data, patch});
        return test::RunProgram(program, arguments, dir.path("stdout.txt"));
    };
    const test::ProgramRun refused = apply({});
    const test::ProgramRun unjournaled = apply({"--no-journal"});
    fs::permissions(dir.root(), fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.output, "kt63-table: ﾌｧｲﾙ " + data + "-kt63-journal に書き込めません (" +
                                  std::generic_category().message(EACCES) +
                                  "): nothing written to " + data +
                                  " (an apply cut off without its journal cannot be undone; "
                                  "--no-journal applies without it).\n");
    EXPECT_EQ(unjournaled.status, 0) << unjournaled.output;
    test::Bytes patched = old;
    patched[static_cast<size_t>(test::WeaponAt(17, 28))] = static_cast<uint8_t>(speed ^ 1);
    EXPECT_EQ(test::ReadBytes(data), patched);
#endif
}

} // namespace
} // namespace kt63
