// What the real kt63-table does with a journal found beside the data file: each command that
// opens the file undoes an unfinished apply, removes an incomplete journal, or reports one that
// is not the file's, and says so; one that cannot settle it leaves it and the file alone. And
// an apply where no journal can be written beside the file.

#include "clitestfiles.h"
#include "process.h"
#include "rollbackjournal.h"
#include "tfilestream.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace kt63 {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// Three fields of an apply that was killed after writing the first two.
const JournalEntry kFields[] = {{test::WeaponAt(1, 28), 1, {}, {}},
                                {test::WeaponAt(2, 56), 2, {}, {}},
                                {test::WeaponAt(3, 64), 4, {}, {}}};
constexpr int32_t kChangedByte = test::WeaponAt(3, 65);
// The patch changes weapon 17's Speed, a field the journal does not cover.
constexpr int32_t kSpeed = test::WeaponAt(17, 28);

// What lies beside the data file: no journal; one of an apply killed after two of three fields;
// half of it; the same written for another file, or for this one on another volume number (as
// Linux gives some file systems anew at each start), or for another length; the same, with a
// byte of the third field changed since to neither its old nor its new value; a file that is no
// journal.
enum class Found {
    None,
    Unfinished,
    Incomplete,
    OtherFile,
    OtherVolume,
    OtherLength,
    ChangedSince,
    Unknown
};
enum class Meanwhile { Nothing, EditorHolds, FolderReadOnly };
enum class After { Old, AsFound, OldPatched, AsFoundPatched };

struct CommandRow
{
    const char* name;
    Found found;
    Meanwhile meanwhile;
    std::string command; // DATA, PATCH, COPY, OUT stand for the test's files
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

Bytes Patched(Bytes bytes)
{
    bytes[kSpeed] ^= 1;
    return bytes;
}

class JournalFound : public ::testing::TestWithParam<CommandRow>
{
protected:
    // The data file as the killed apply left it (or the old one, with no journal), its journal,
    // a copy of the old file and the patch.
    void SetUp() override
    {
        RollbackJournal journal{{}, static_cast<int64_t>(old.size()), {}};
        for (size_t i = 0; i < std::size(kFields); ++i) {
            JournalEntry entry = kFields[i];
            for (size_t b = 0; b < static_cast<size_t>(entry.width); ++b) {
                entry.before[b] = old[entry.offset + b];
                entry.after[b] = static_cast<uint8_t>(entry.before[b] ^ 0x5A);
                if (i < 2 && GetParam().found != Found::None)
                    found[entry.offset + b] = entry.after[b];
            }
            journal.entries.push_back(entry);
        }
        const Found what = GetParam().found;
        found[kChangedByte] ^= what == Found::ChangedSince ? 0xFF : 0;
        test::WriteBytes(data, found);
        test::WriteBytes(copy, old);
        test::WriteText(patch, R"({"changes": [{"table": "weapons", "Weapon": 17, )"
                               R"("field": "Speed", "old": )" +
                                   std::to_string(old[kSpeed]) + R"(, "new": )" +
                                   std::to_string(old[kSpeed] ^ 1) + "}]}");
        if (what == Found::None)
            return;
        journal.identity = TFileStream(data, fmOpenRead | fmShareDenyNone).CurrentStatus().identity;
        journal.identity.file += what == Found::OtherFile ? 1 : 0;
        journal.identity.volume += what == Found::OtherVolume ? 1 : 0;
        journal.length += what == Found::OtherLength ? 1 : 0;
        Bytes bytes = what == Found::Unknown ? test::Hex("50 4b 03 04") : EncodeJournal(journal);
        bytes.resize(what == Found::Incomplete ? bytes.size() / 2 : bytes.size());
        test::WriteBytes(data + "-kt63-journal", bytes);
    }

    std::vector<std::string> Arguments() const
    {
        std::vector<std::string> arguments;
        std::istringstream words(GetParam().command);
        for (std::string word; words >> word;)
            arguments.push_back(word == "DATA"    ? data
                                : word == "PATCH" ? patch
                                : word == "COPY"  ? copy
                                : word == "OUT"   ? dir.path("out.csv")
                                                  : word);
        return arguments;
    }

    // Makes the folder take no new file, and the program run by one who cannot write there.
    // Gives why that cannot be done here, or nothing.
    std::string RefuseNewFiles(std::string& program, std::vector<std::string>& arguments)
    {
#ifdef _WIN32
        return "a Windows folder refuses new files only through its access control list, which "
               "Wine does not enforce";
#else
        fs::permissions(data,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::add);
        fs::permissions(dir.root(), fs::perms::owner_write, fs::perm_options::remove);
        if (::geteuid() != 0)
            return {};
        // Root writes into any folder: the program then runs as nobody.
        if (!test::Exists("/usr/bin/setpriv"))
            return "running as root without setpriv, no folder refuses a new file";
        arguments.insert(arguments.begin(),
                         {"--reuid=65534", "--regid=65534", "--clear-groups", program});
        program = "/usr/bin/setpriv";
        return {};
#endif
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
    std::string copy = dir.path("copy.dll");
    std::string patch = dir.path("p.json");
    Bytes old = test::RandomBytes(test::DataFileSize, 81);
    Bytes found = old;
};

TEST_P(JournalFound, IsSettledOrLeftAndSaidSo)
{
    const CommandRow& row = GetParam();
    std::optional<test::RunningProgram> holder;
    if (row.meanwhile == Meanwhile::EditorHolds) {
        holder.emplace(
            KT63_HOLDFILE_PROGRAM,
            std::vector<std::string>{data, std::to_string(fmOpenReadWrite | fmShareDenyWrite)});
        ASSERT_EQ(holder->ReadLine(), "held");
    }
    std::string program = KT63_TABLE_PROGRAM;
    std::vector<std::string> arguments = Arguments();
    if (row.meanwhile == Meanwhile::FolderReadOnly)
        if (const std::string why = RefuseNewFiles(program, arguments); !why.empty())
            GTEST_SKIP() << why;
    const test::ProgramRun run = test::RunProgram(program, arguments, dir.path("stdout.txt"));
    fs::permissions(dir.root(), fs::perms::owner_all, fs::perm_options::add);
    holder.reset();
    EXPECT_EQ(run.status, row.status) << run.output;
    const std::string journal = data + "-kt63-journal";
    EXPECT_EQ(run.output, Replaced(Replaced(row.note, "JOURNAL", journal), "DATA", data));
    const Bytes after[] = {old, found, Patched(old), Patched(found)};
    EXPECT_EQ(test::ReadBytes(data), after[static_cast<size_t>(row.after)]);
    EXPECT_EQ(test::Exists(journal), row.journalLeft);
}

const std::string kUndone = "kt63-table: an unfinished apply to DATA was undone: JOURNAL put "
                            "back the old values of 3 fields.\n";
const std::string kNotIts = "kt63-table: JOURNAL is not the journal of DATA as it is now (";
const std::string kOtherFile = kNotIts + "it was written for another file at this path)";
const std::string kLeftAlone = ": left alone; delete it once DATA is as it should be.\n";
const std::string kPartly =
    "kt63-table: DATA is partly written by an apply that did not finish, which JOURNAL undoes; ";
const std::string kIncomplete =
    "JOURNAL, left incomplete by an apply that stopped before it wrote to DATA";
const std::string kNoJournal =
    "kt63-table: ﾌｧｲﾙ JOURNAL に書き込めません (" + std::generic_category().message(EACCES) +
    "): nothing written to DATA (an apply cut off without its journal cannot be undone; "
    "--no-journal applies without it).\n";

using enum Found;
using enum Meanwhile;
using enum After;

// check exits with 1: the random file holds values outside the window's ranges.
INSTANTIATE_TEST_SUITE_P(
    Commands, JournalFound,
    ::testing::Values(
        CommandRow{"check_undoes_an_unfinished_apply", Unfinished, Nothing, "check DATA", 1,
                   kUndone, Old, false},
        CommandRow{"dump_undoes_it", Unfinished, Nothing, "dump DATA --table weapons --out OUT", 0,
                   kUndone, Old, false},
        CommandRow{"diff_undoes_it", Unfinished, Nothing, "diff DATA COPY", 0, kUndone, Old, false},
        CommandRow{"apply_undoes_it_then_applies", Unfinished, Nothing, "apply DATA PATCH", 0,
                   kUndone, OldPatched, false},
        CommandRow{"dry_run_leaves_it", Unfinished, Nothing, "apply --dry-run DATA PATCH", 2,
                   kPartly + "--dry-run writes nothing, so run kt63-table check DATA first.\n",
                   AsFound, true},
        CommandRow{"check_leaves_it_while_the_editor_holds_the_file", Unfinished, EditorHolds,
                   "check DATA", 2,
                   kPartly + "it cannot be held for writing now (in use by another program): "
                             "close the program that holds it (the editor's window, or an "
                             "apply still running) and run kt63-table again.\n",
                   AsFound, true},
        CommandRow{"check_removes_an_incomplete_journal", Incomplete, Nothing, "check DATA", 1,
                   "kt63-table: removed " + kIncomplete + ".\n", AsFound, false},
        CommandRow{"dry_run_leaves_an_incomplete_journal", Incomplete, Nothing,
                   "apply --dry-run DATA PATCH", 0,
                   "kt63-table: " + kIncomplete +
                       ", is left for the next command that holds it for writing.\n",
                   AsFound, true},
        CommandRow{"check_reports_another_files_journal", OtherFile, Nothing, "check DATA", 1,
                   kOtherFile + kLeftAlone, AsFound, true},
        CommandRow{"apply_stops_at_another_files_journal", OtherFile, Nothing, "apply DATA PATCH",
                   2,
                   kOtherFile + ": nothing written; delete it once DATA is as it should be, then "
                                "apply again.\n",
                   AsFound, true},
        CommandRow{"check_undoes_a_journal_whose_volume_number_differs", OtherVolume, Nothing,
                   "check DATA", 1, kUndone, Old, false},
        CommandRow{
            "check_reports_a_journal_of_another_length", OtherLength, Nothing, "check DATA", 1,
            kNotIts + "it was written for a file of 2264785 bytes; DATA has 2264784)" + kLeftAlone,
            AsFound, true},
        CommandRow{"check_reports_a_file_changed_since", ChangedSince, Nothing, "check DATA", 1,
                   kNotIts +
                       "DATA was changed since: the byte at 1550981 holds neither its value "
                       "before nor after the apply)" +
                       kLeftAlone,
                   AsFound, true},
        CommandRow{"check_reports_a_file_that_is_no_journal", Unknown, Nothing, "check DATA", 1,
                   kNotIts + "it is no journal that this version of kt63-table can read)" +
                       kLeftAlone,
                   AsFound, true},
        CommandRow{"apply_writes_nothing_where_no_journal_can_be_written", None, FolderReadOnly,
                   "apply DATA PATCH", 2, kNoJournal, AsFound, false},
        CommandRow{"apply_without_the_journal_writes", None, FolderReadOnly,
                   "apply --no-journal DATA PATCH", 0, "", AsFoundPatched, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
