#include "commands.h"
#include "console.h"
#include "exception.h"
#include "interruption.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <new>

namespace {

using namespace kt63;

constexpr const char* DumpHelp =
    "Writes every weapon (1 to 1921), every weapon slot (6 per weapon: EquipmentKind and "
    "Ammunition[0] to Ammunition[7], one cell per armament tab) and every armament entry "
    "(group 0 to 1920, tab 0 to 7) as stored in the file: nothing is clamped to the editor's "
    "ranges, and Level, Appearance and Theatre are the stored bytes (a stored Level of 1 is "
    "the editor's item \"1\", 0 is no level). Columns carry the field names. CSV of all tables "
    "goes into weapons.csv, slots.csv and armaments.csv in the folder --out (default: here); "
    "one --table or JSON goes to the file --out, or to standard output.";

constexpr const char* DiffHelp =
    "Lists every field whose stored value differs, one line each, then the ranges of "
    "differing bytes that no field owns. Exit status 0 when equal, 1 when different, 2 on "
    "error. --json writes the changes as a patch for apply.";

constexpr const char* CheckHelp =
    "Lists the stored values that opening each weapon (1 to 1921) in the editor and saving at "
    "once would change. The editor's window shows every field within its range and a save "
    "writes what it shows, so a stored value outside the range comes back at the nearest end: "
    "a Fuel of 65535 as 999, a Month of 0 as 1, a Level of 12 as 9, a NameNumber of 900 as "
    "800. Covers each weapon's fields, every slot's EquipmentKind and Ammunition cells (a save "
    "writes those of the slot and tab shown) and the entries of armament group weapon - 1, "
    "which a load shows; one line each as diff writes them, weapon by weapon, then the count. "
    "Exit status 0 when no save would change anything, 1 when one would, 2 on error. --json "
    "writes the changes as a patch for apply, which brings the whole file within the window's "
    "ranges at once.";

constexpr const char* ApplyHelp =
    "Applies patches: JSON from diff --json (a name ending in .json), or CSV tables edited "
    "from a dump (any other name; the header tells the table, field columns may be left out). "
    "The old value of an edited CSV cell is the file's, or with --base the unedited dump's. "
    "Every change is checked first: its old value must be in the file, its new value must fit "
    "the field's 1, 2 or 4 bytes (Level, Appearance, Theatre: the stored byte). If anything "
    "fails nothing is written and every problem is listed (exit status 1). Otherwise only the "
    "changed fields are written, with the file held so that no other program can write it "
    "meanwhile, synced to the disk and read back; the changes are listed once they are in the "
    "file. If the file at the path is no longer the one that was checked, nothing is written; "
    "if a seek, a read, a write or the sync fails, a field does not read back, or another "
    "program replaces, deletes or cuts the file meanwhile, every field already written is put "
    "back to its old value before the error is reported (exit status 2). A PATCH must be a "
    "regular file of at most 256 MiB. --dry-run only reads the file, so it also works while the "
    "editor holds it. Before the first write, the old bytes of every field to change go into a "
    "journal beside the file (its name with -kt63-journal added, in the same folder), synced to "
    "the disk with its folder; it is removed once every field is written and read back, or put "
    "back. Ctrl+C, SIGTERM or a closed terminal stop the apply: every field written is put back, "
    "the journal removed, and the program ends by that signal (on Windows with exit status 2). "
    "When the apply is killed or the machine stops, the next kt63-table command on the file "
    "(or the editor's window) finds the journal and puts the old values back first when the "
    "file holds some fields old and some new; a file holding every new value is kept. The "
    "journal is found by the file (a symbolic link is followed); a damaged one beside a file "
    "that may hold part of the apply is kept as DATA-kt63-journal-damaged (exit status 2). Where "
    "no journal can be written beside the file (a read-only folder, or a file with several hard "
    "links, which no single journal name reaches), nothing is written; --no-journal applies "
    "without it, and a crash can then leave the file partly written. --reverse takes a JSON patch "
    "back out: each change's new value must be the one in the file (otherwise nothing is written "
    "and every field that differs is listed), and its old value is written, by the same checks, "
    "journal and putting back; a CSV patch holds no old values, so --reverse refuses it.";

// Every command that reads the data file settles a journal first.
constexpr const char* JournalNote =
    " Like every command, it first undoes an apply that a kill, a crash or a power cut left "
    "unfinished (see apply), when it can hold the file for writing, and otherwise reads nothing "
    "of a file left partly written.";

std::string WithJournalNote(const char* help)
{
    return std::string(help) + JournalNote;
}

void AddDump(CLI::App& app, DumpOptions& options)
{
    CLI::App* dump = app.add_subcommand("dump", WithJournalNote(DumpHelp));
    dump->add_option("DATA", options.data, "the game's data file")->required();
    dump->add_option("--names", options.names,
                     "the weapon name list file (WN.dat): adds a Name column to weapons");
    dump->add_option("--format", options.format, "csv or json")
        ->default_val("csv")
        ->check(CLI::IsMember({"csv", "json"}));
    dump->add_option("--out", options.out, "output folder (CSV of all tables) or file");
    dump->add_option("--table", options.table, "only this table")
        ->check(CLI::IsMember({"weapons", "slots", "armaments"}));
}

void AddDiff(CLI::App& app, DiffOptions& options)
{
    CLI::App* diff = app.add_subcommand("diff", WithJournalNote(DiffHelp));
    diff->add_option("A", options.a, "the data file before")->required();
    diff->add_option("B", options.b, "the data file after")->required();
    diff->add_flag("--json", options.json, "write the changes as a JSON patch");
}

void AddCheck(CLI::App& app, CheckOptions& options)
{
    CLI::App* check = app.add_subcommand("check", WithJournalNote(CheckHelp));
    check->add_option("DATA", options.data, "the game's data file")->required();
    check->add_flag("--json", options.json, "write the changes as a JSON patch");
}

void AddApply(CLI::App& app, ApplyOptions& options)
{
    CLI::App* apply = app.add_subcommand("apply", ApplyHelp);
    apply->add_option("DATA", options.data, "the game's data file to change")->required();
    apply->add_option("PATCH", options.patches, "one or more patches (.json or .csv)")->required();
    CLI::Option* base =
        apply->add_option("--base", options.bases,
                          "an unedited CSV dump whose values are the old values of the CSV patches "
                          "(so that fields changed in the file since the dump are conflicts); "
                          "one per table");
    apply->add_flag("--dry-run", options.dryRun, "check and list the changes, write nothing");
    apply
        ->add_flag("--reverse", options.reverse,
                   "take JSON patches made by diff --json back out: the file must hold each "
                   "change's new value, and its old value is written")
        ->excludes(base);
    apply->add_flag("--no-journal", options.noJournal,
                    "write without the rollback journal beside the file (for a folder that "
                    "cannot hold it): a crash can then leave the file partly written");
}

struct Options
{
    DumpOptions dump;
    DiffOptions diff;
    CheckOptions check;
    ApplyOptions apply;
};

int RunCommand(const CLI::App& app, const Options& options)
{
    if (app.got_subcommand("dump"))
        return RunDump(options.dump, std::cout);
    if (app.got_subcommand("diff"))
        return RunDiff(options.diff, std::cout);
    if (app.got_subcommand("check"))
        return RunCheck(options.check, std::cout);
    return RunApply(options.apply, std::cout);
}

// What the command was doing, for a message that has nothing else to say (out of memory).
std::string Doing(const CLI::App& app, const Options& options)
{
    if (app.got_subcommand("dump"))
        return "dumping " + options.dump.data;
    if (app.got_subcommand("diff"))
        return "comparing " + options.diff.a + " with " + options.diff.b;
    if (app.got_subcommand("check"))
        return "checking " + options.check.data;
    return "applying patches to " + options.apply.data;
}

// What a command printed must have reached its reader, or its status would say more than the
// output does (a dump into a full disk is no dump).
int Finished(int status)
{
    if (std::cout.flush())
        return status;
    std::cerr << "kt63-table: cannot write to standard output.\n";
    return ExitTrouble;
}

} // namespace

int main(int argc, char** argv)
{
    const Utf8Console console;
    const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<const char*> argumentTexts;
    for (const std::string& argument : arguments)
        argumentTexts.push_back(argument.c_str());
    CLI::App app("Dumps, compares, checks and patches the weapon tables of the game's data file.",
                 "kt63-table");
    app.require_subcommand(1);
    // The same options on every system: on Windows CLI11 would also take "/name" as an option,
    // and a path written with forward slashes would be lost.
    app.allow_windows_style_options(false);
    Options options;
    AddDump(app, options.dump);
    AddDiff(app, options.diff);
    AddCheck(app, options.check);
    AddApply(app, options.apply);
    try {
        app.parse(static_cast<int>(argumentTexts.size()), argumentTexts.data());
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? ExitSame : ExitTrouble;
    }
    try {
        return Finished(RunCommand(app, options));
    } catch (const EInterruptedError& error) {
        std::cerr << "kt63-table: " << error.message() << ".\n";
        return EndAsInterrupted();
    } catch (const Exception& error) {
        std::cerr << "kt63-table: " << error.message() << ".\n";
        return ExitTrouble;
    } catch (const std::bad_alloc&) {
        // An apply cut off by it mid-way leaves its journal, which the next command settles.
        std::cerr << "kt63-table: out of memory while " << Doing(app, options) << ".\n";
        return ExitTrouble;
    } catch (const std::exception& error) {
        // Out of memory and the like: still an error status, not an abort.
        std::cerr << "kt63-table: " << error.what() << ".\n";
        return ExitTrouble;
    }
}
