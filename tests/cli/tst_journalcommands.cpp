// What the real kt63-table does with a journal found beside the data file: each command that
// opens the file undoes an unfinished apply, removes an incomplete journal, or reports one that
// is not the file's, and says so; one that cannot settle it leaves it and the file alone. And
// an apply where no journal can be written beside the file.

#include "clitestfiles.h"
#include "process.h"
#include "rollbackjournal.h"
#include "tfilestream.h"
#include "utf8path.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
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
// the same beside a copy of the applied file or of the old one put over the data file (which
// keeps its number on many file systems); blocks a crash left unwritten; the journal cut in its
// header, with a flipped byte, or without its last byte; the same written for another file, or
// for this one on another volume number (as Linux gives some file systems anew at each start),
// or for another length; the same, with a byte of the third field changed since to neither its
// old nor its new value; a file that is no journal.
enum class Found {
    None,
    Unfinished,
    AppliedCopy,
    OldCopy,
    Unwritten,
    HeaderCut,
    FlippedByte,
    LastByteCut,
    OtherFile,
    OtherVolume,
    OtherLength,
    ChangedSince,
    Unknown
};
enum class Meanwhile { Nothing, EditorHolds, FolderReadOnly, NoWriteAccess };
enum class After { Old, AsFound, OldPatched, AsFoundPatched };
enum class Journal { Gone, Left, Aside };

struct CommandRow
{
    const char* name;
    Found found;
    Meanwhile meanwhile;
    // DATA, PATCH, COPY, OUT stand for the test's files; LINK for a symbolic link to DATA, NAME2
    // for a second name (hard link) of it. A command with LONG names its data file with 80
    // kanji, 244 bytes with ".dll".
    std::string command;
    int status;
    std::string note; // what standard error says; DATA, JOURNAL, ASIDE stand for the paths
    After after;
    Journal journal;
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

const std::string kLongName = [] {
    std::string name;
    for (int i = 0; i < 80; ++i)
        name += "漢";
    return name + ".dll";
}();

// A journal's name that would not fit (255 bytes) keeps 77 kanji (231 bytes, as many whole
// characters as leave room for the mark and the suffix), then "~" and the name's CRC-32.
std::string JournalName(const std::string& data, const std::string& suffix)
{
    const std::string name = Utf8FromPath(PathFromUtf8(data).filename());
    if (name.size() + suffix.size() <= 255)
        return data + suffix;
    char crc[10];
    std::snprintf(
        crc, sizeof crc, "~%08x",
        static_cast<unsigned>(Crc32({reinterpret_cast<const uint8_t*>(name.data()), name.size()})));
    const size_t kept = (255 - suffix.size() - 9) / 3 * 3;
    return data.substr(0, data.size() - name.size()) + name.substr(0, kept) + crc + suffix;
}

// The journal's bytes as `found` leaves them.
Bytes Damaged(Bytes bytes, Found found)
{
    if (found == Found::HeaderCut)
        bytes.resize(bytes.size() / 2);
    if (found == Found::FlippedByte)
        bytes[60] ^= 0x10;
    if (found == Found::LastByteCut)
        bytes.pop_back();
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
        for (const JournalEntry& entry : journal.entries)
            for (size_t b = 0; b < static_cast<size_t>(entry.width); ++b)
                found[entry.offset + b] = what == Found::AppliedCopy ? entry.after[b]
                                          : what == Found::OldCopy   ? entry.before[b]
                                                                     : found[entry.offset + b];
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
        const Bytes bytes = what == Found::Unknown     ? test::Hex("50 4b 03 04")
                            : what == Found::Unwritten ? Bytes(82, 0)
                                                       : Damaged(EncodeJournal(journal), what);
        test::WriteBytes(JournalName(data, "-kt63-journal"), bytes);
    }

    // The other names of the data file the command uses; gives why they cannot be made here, or
    // nothing.
    std::string MakeNames()
    {
        std::error_code error;
        if (GetParam().command.find("LINK") != std::string::npos)
            fs::create_symlink(PathFromUtf8(data).filename(), PathFromUtf8(link), error);
        if (GetParam().command.find("NAME2") != std::string::npos)
            fs::create_hard_link(PathFromUtf8(data), PathFromUtf8(name2), error);
        return error ? "cannot make another name of the data file here: " + error.message() : "";
    }

    std::vector<std::string> Arguments() const
    {
        std::vector<std::string> arguments;
        std::istringstream words(GetParam().command);
        for (std::string word; words >> word;)
            arguments.push_back(word == "DATA" || word == "LONG" ? data
                                : word == "PATCH"                ? patch
                                : word == "COPY"                 ? copy
                                : word == "LINK"                 ? link
                                : word == "NAME2"                ? name2
                                : word == "OUT"                  ? dir.path("out.csv")
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

    // Lets the program read but not write the data file: its write permissions go, and root,
    // whom they do not stop, runs it as nobody. Gives why that cannot be done here, or nothing.
    std::string ForbidWriting(std::string& program, std::vector<std::string>& arguments)
    {
#ifdef _WIN32
        return "Wine does not enforce a file's access control list";
#else
        fs::permissions(data, fs::perms::owner_write | fs::perms::group_write,
                        fs::perm_options::remove);
        if (::geteuid() != 0)
            return {};
        if (!test::Exists("/usr/bin/setpriv"))
            return "running as root without setpriv, every file may be written";
        fs::permissions(dir.root(), fs::perms::others_exec | fs::perms::others_read,
                        fs::perm_options::add);
        arguments.insert(arguments.begin(),
                         {"--reuid=65534", "--regid=65534", "--clear-groups", program});
        program = "/usr/bin/setpriv";
        return {};
#endif
    }

    test::TempDir dir;
    std::string data =
        dir.path(GetParam().command.find("LONG") != std::string::npos ? kLongName : "Qelvint.dll");
    std::string link = dir.path("Q.lnk");
    std::string name2 = dir.path("Q2.dll");
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
    if (const std::string why = MakeNames(); !why.empty())
        GTEST_SKIP() << why;
    if (row.meanwhile == Meanwhile::FolderReadOnly)
        if (const std::string why = RefuseNewFiles(program, arguments); !why.empty())
            GTEST_SKIP() << why;
    if (row.meanwhile == Meanwhile::NoWriteAccess)
        if (const std::string why = ForbidWriting(program, arguments); !why.empty())
            GTEST_SKIP() << why;
    const test::ProgramRun run = test::RunProgram(program, arguments, dir.path("stdout.txt"));
    fs::permissions(dir.root(), fs::perms::owner_all, fs::perm_options::add);
    holder.reset();
    EXPECT_EQ(run.status, row.status) << run.output;
    const std::string journal = JournalName(data, "-kt63-journal");
    const std::string aside = JournalName(data, "-kt63-journal-damaged");
    std::string note = row.note;
    for (const auto& [name, path] : {std::pair{"JOURNAL", journal},
                                     {"ASIDE", aside},
                                     {"DATA", data},
                                     {"LINK", link},
                                     {"NAME2", name2}})
        note = Replaced(note, name, path);
    EXPECT_EQ(run.output, note);
    const Bytes after[] = {old, found, Patched(old), Patched(found)};
    EXPECT_EQ(test::ReadBytes(data), after[static_cast<size_t>(row.after)]);
    EXPECT_EQ(test::Exists(journal), row.journal == Journal::Left);
    EXPECT_EQ(test::Exists(aside), row.journal == Journal::Aside);
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
const std::string kKeptAside =
    "kt63-table: JOURNAL is damaged (its checksum or its length is wrong), and DATA may hold "
    "part of an apply that did not finish: nothing written; the journal is kept as ASIDE. Put "
    "back a copy of DATA from before that apply (the README tells what else can be done).\n";

using enum Found;
using enum Meanwhile;
using enum After;
using enum Journal;

// check exits with 1: the random file holds values outside the window's ranges.
INSTANTIATE_TEST_SUITE_P(
    Commands, JournalFound,
    ::testing::Values(
        CommandRow{"check_undoes_an_unfinished_apply", Unfinished, Nothing, "check DATA", 1,
                   kUndone, Old, Gone},
        CommandRow{"dump_undoes_it", Unfinished, Nothing, "dump DATA --table weapons --out OUT", 0,
                   kUndone, Old, Gone},
        CommandRow{"diff_undoes_it", Unfinished, Nothing, "diff DATA COPY", 0, kUndone, Old, Gone},
        CommandRow{"apply_undoes_it_then_applies", Unfinished, Nothing, "apply DATA PATCH", 0,
                   kUndone, OldPatched, Gone},
        CommandRow{"dry_run_leaves_it", Unfinished, Nothing, "apply --dry-run DATA PATCH", 2,
                   kPartly + "--dry-run writes nothing, so run kt63-table check DATA first.\n",
                   AsFound, Left},
        CommandRow{"check_leaves_it_while_the_editor_holds_the_file", Unfinished, EditorHolds,
                   "check DATA", 2,
                   kPartly + "it cannot be held for writing now (in use by another program): "
                             "close the program that holds it (the editor's window, or an "
                             "apply still running) and run kt63-table again.\n",
                   AsFound, Left},
        CommandRow{"check_by_one_who_may_not_write_leaves_it", Unfinished, NoWriteAccess,
                   "check DATA", 2,
                   kPartly + "it cannot be held for writing now (" +
                       std::generic_category().message(EACCES) +
                       "): run kt63-table check DATA as a user who may write to it.\n",
                   AsFound, Left},
        // A journal is the file's, by whatever name the file is reached.
        CommandRow{"check_through_a_link_undoes_the_files_apply", Unfinished, Nothing, "check LINK",
                   1, Replaced(kUndone, "DATA", "LINK"), Old, Gone},
        CommandRow{"apply_to_a_file_with_two_names_writes_nothing", None, Nothing,
                   "apply NAME2 PATCH", 2,
                   "kt63-table: ﾌｧｲﾙ NAME2-kt63-journal に書き込めません (NAME2 has 2 names "
                   "(hard links), and a journal beside one name is not found through the "
                   "others): nothing written to NAME2 (an apply cut off without its journal "
                   "cannot be undone; --no-journal applies without it).\n",
                   AsFound, Gone},
        CommandRow{"apply_without_the_journal_to_a_file_with_two_names_writes", None, Nothing,
                   "apply --no-journal NAME2 PATCH", 0, "", AsFoundPatched, Gone},
        // A copy put over the file is the user's: only a file holding old and new is undone.
        CommandRow{"check_keeps_a_copy_of_the_applied_file", AppliedCopy, Nothing, "check DATA", 1,
                   "kt63-table: removed JOURNAL: every one of its 3 fields already holds its new "
                   "value (the apply to DATA had finished), so the file is kept as it is.\n",
                   AsFound, Gone},
        CommandRow{"dry_run_leaves_the_journal_of_the_applied_copy", AppliedCopy, Nothing,
                   "apply --dry-run DATA PATCH", 0,
                   "kt63-table: JOURNAL is left for the next command that holds DATA for writing "
                   "(the file holds all of that apply or none of it).\n",
                   AsFound, Left},
        CommandRow{"check_writes_nothing_into_a_copy_of_the_old_file", OldCopy, Nothing,
                   "check DATA", 1,
                   "kt63-table: removed JOURNAL: DATA still holds the old values of all 3 "
                   "fields, so nothing was undone.\n",
                   Old, Gone},
        // A name too long to take the journal's suffix.
        CommandRow{"check_of_a_long_name_undoes_its_apply", Unfinished, Nothing, "check LONG", 1,
                   kUndone, Old, Gone},
        CommandRow{"apply_to_a_long_name_writes", None, Nothing, "apply LONG PATCH", 0, "",
                   AsFoundPatched, Gone},
        CommandRow{"check_removes_unwritten_blocks", Unwritten, Nothing, "check DATA", 1,
                   "kt63-table: removed " + kIncomplete + ".\n", AsFound, Gone},
        CommandRow{"dry_run_leaves_unwritten_blocks", Unwritten, Nothing,
                   "apply --dry-run DATA PATCH", 0,
                   "kt63-table: " + kIncomplete +
                       ", is left for the next command that holds it for writing.\n",
                   AsFound, Left},
        // A damaged journal beside a file that holds part of the apply is never thrown away.
        CommandRow{"check_keeps_aside_a_journal_cut_in_its_header", HeaderCut, Nothing,
                   "check DATA", 2, kKeptAside, AsFound, Aside},
        CommandRow{"check_keeps_aside_a_journal_with_a_flipped_byte", FlippedByte, Nothing,
                   "check DATA", 2, kKeptAside, AsFound, Aside},
        CommandRow{"apply_keeps_aside_a_journal_without_its_last_byte", LastByteCut, Nothing,
                   "apply DATA PATCH", 2, kKeptAside, AsFound, Aside},
        CommandRow{"dry_run_leaves_a_damaged_journal", FlippedByte, Nothing,
                   "apply --dry-run DATA PATCH", 2,
                   "kt63-table: JOURNAL is damaged (its checksum or its length is wrong), and "
                   "DATA may hold part of an apply that did not finish; --dry-run writes "
                   "nothing, so run kt63-table check DATA first.\n",
                   AsFound, Left},
        CommandRow{"check_reports_another_files_journal", OtherFile, Nothing, "check DATA", 1,
                   kOtherFile + kLeftAlone, AsFound, Left},
        CommandRow{"apply_stops_at_another_files_journal", OtherFile, Nothing, "apply DATA PATCH",
                   2,
                   kOtherFile + ": nothing written; delete it once DATA is as it should be, then "
                                "apply again.\n",
                   AsFound, Left},
        CommandRow{"check_undoes_a_journal_whose_volume_number_differs", OtherVolume, Nothing,
                   "check DATA", 1, kUndone, Old, Gone},
        CommandRow{
            "check_reports_a_journal_of_another_length", OtherLength, Nothing, "check DATA", 1,
            kNotIts + "it was written for a file of 2264785 bytes; DATA has 2264784)" + kLeftAlone,
            AsFound, Left},
        CommandRow{"check_reports_a_file_changed_since", ChangedSince, Nothing, "check DATA", 1,
                   kNotIts +
                       "DATA was changed since: the byte at 1550981 holds neither its value "
                       "before nor after the apply)" +
                       kLeftAlone,
                   AsFound, Left},
        CommandRow{"check_reports_a_file_that_is_no_journal", Unknown, Nothing, "check DATA", 1,
                   kNotIts +
                       "it is not a journal of ours: kt63-table writes none of another version, "
                       "nor one that names anything but the tables' fields, each once)" +
                       kLeftAlone,
                   AsFound, Left},
        CommandRow{"apply_writes_nothing_where_no_journal_can_be_written", None, FolderReadOnly,
                   "apply DATA PATCH", 2, kNoJournal, AsFound, Gone},
        CommandRow{"apply_without_the_journal_writes", None, FolderReadOnly,
                   "apply --no-journal DATA PATCH", 0, "", AsFoundPatched, Gone}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Journals made to look like ours --------------------------------------------------------

// A journal with a valid checksum whose entries name bytes kt63-table never writes. Undoing it
// would write into the file's header, names or padding, overlap its own writes, or reach past
// 2 GiB; reading it must not cost memory in proportion to what it claims.
struct CraftedRow
{
    const char* name;
    bool beyond2GiB;                   // the data file is sparse and longer than 2 GiB
    std::vector<JournalEntry> entries; // before and after left zero and one
    uint32_t count;                    // the count the header gives; 0 for the entries' own
};

void PrintTo(const CraftedRow& row, std::ostream* out)
{
    *out << row.name;
}

class CraftedJournal : public ::testing::TestWithParam<CraftedRow>
{
protected:
    // The journal of `entries`, sealed with a fitting checksum, for the file as it is.
    Bytes Journal(const CraftedRow& row) const
    {
        RollbackJournal journal{
            TFileStream(data, fmOpenRead | fmShareDenyNone).CurrentStatus().identity,
            static_cast<int64_t>(fs::file_size(data)), row.entries};
        for (JournalEntry& entry : journal.entries)
            entry.after.fill(1);
        Bytes bytes = EncodeJournal(journal);
        if (row.count != 0) {
            test::Put(bytes, 12, 4, row.count);
            const uint32_t crc = Crc32(std::span(bytes).first(bytes.size() - 4));
            test::Put(bytes, static_cast<int32_t>(bytes.size() - 4), 4, crc);
        }
        return bytes;
    }

    test::TempDir dir;
    std::string data = dir.path("Qelvint.dll");
};

TEST_P(CraftedJournal, IsNotOursAndNothingIsWritten)
{
    const CraftedRow& row = GetParam();
    const Bytes old = test::RandomBytes(test::DataFileSize, 7);
    test::WriteBytes(data, old);
    if (row.beyond2GiB)
        fs::resize_file(data, (uintmax_t{5} << 29) + 3);
    test::SetModifiedAt(data, 1'000'000'000);
    const std::string journal = data + "-kt63-journal";
    const Bytes bytes = Journal(row);
    test::WriteBytes(journal, bytes);
    std::string program = KT63_TABLE_PROGRAM;
    std::vector<std::string> arguments = {"check", data};
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
    // Far less than a journal's claims would take, far more than a check needs. (The sanitizer
    // build reserves terabytes of address space, and is left without the bound.)
    if (test::Exists("/usr/bin/prlimit")) {
        arguments.insert(arguments.begin(), {"--as=536870912", "--", program});
        program = "/usr/bin/prlimit";
    }
#endif
    const test::ProgramRun run = test::RunProgram(program, arguments, dir.path("stdout.txt"));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(run.output,
              "kt63-table: " + journal + " is not the journal of " + data +
                  " as it is now (it is not a journal of ours: kt63-table writes none of another "
                  "version, nor one that names anything but the tables' fields, each once): left "
                  "alone; delete it once " +
                  data + " is as it should be.\n");
    EXPECT_EQ(test::ModifiedAt(data), 1'000'000'000);
    if (!row.beyond2GiB) {
        EXPECT_EQ(test::ReadBytes(data), old);
    }
    EXPECT_EQ(test::ReadBytes(journal), bytes);
}

constexpr int32_t kSpeed1 = test::WeaponAt(1, 28);

INSTANTIATE_TEST_SUITE_P(
    Journals, CraftedJournal,
    ::testing::Values(
        CraftedRow{"over_the_header", false, {{0, 4, {}, {}}}, 0},
        CraftedRow{"one_field_twice", false, {{kSpeed1, 1, {}, {}}, {kSpeed1, 1, {}, {}}}, 0},
        CraftedRow{"counting_every_number", false, {{kSpeed1, 1, {}, {}}}, 0xFFFFFFFF},
        CraftedRow{"past_2_gib", true, {{INT32_MAX - 1, 4, {}, {}}}, 0},
        CraftedRow{"spanning_2_gib", true, {{kSpeed1, 1, {}, {}}, {INT32_MAX - 3, 4, {}, {}}}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kt63
