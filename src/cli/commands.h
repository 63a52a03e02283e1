#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kt63 {

// Exit statuses, as `diff` gives them: 0 when the files are the same (or a patch went in),
// 1 when they differ (or a patch was refused), 2 on trouble.
inline constexpr int ExitSame = 0;
inline constexpr int ExitDifferent = 1;
inline constexpr int ExitTrouble = 2;

struct DumpOptions
{
    std::string data;
    std::string names;  // the weapon name list file; empty for no names
    std::string format; // "csv" or "json"
    std::string out;    // a file, or for CSV of every table a folder; empty for the default
    std::string table;  // one table only; empty for all three
};

// Writes the stored values of the data file's tables. CSV of every table goes into
// weapons.csv, slots.csv and armaments.csv in the folder `out` (the working folder when empty);
// one table or JSON goes to the file `out`, or to `console` when it is empty.
int RunDump(const DumpOptions& options, std::ostream& console);

struct DiffOptions
{
    std::string a;
    std::string b;
    bool json = false;
};

// Writes what differs between two data files to `console`, as text lines or a JSON patch.
int RunDiff(const DiffOptions& options, std::ostream& console);

struct CheckOptions
{
    std::string data;
    bool json = false;
};

// Writes to `console` which stored values a load of each weapon into the editor's window and an
// immediate save would change, as text lines ending in their count, or as a JSON patch.
int RunCheck(const CheckOptions& options, std::ostream& console);

struct ApplyOptions
{
    std::string data;
    std::vector<std::string> patches; // JSON when the name ends in ".json", else CSV
    bool dryRun = false;
    std::vector<std::string> bases; // unedited CSV dumps: the old values of CSV patches
    bool noJournal = false;         // write without the rollback journal beside the file
    bool reverse = false; // take the JSON patches back out: from their new values to their old
};

// Checks every change of every patch against the data file and, when none has a problem,
// writes them. A CSV patch's old values are the file's, or with `bases` those of the unedited
// dumps, so that a field someone changed since the dump shows up as a conflict. Problems, and with
// --dry-run the changes, are listed on `console`. The writes go through a rollback journal beside
// the file (unless `noJournal`), and Ctrl+C and the like stop them, putting back what they wrote
// (EInterruptedError). With `reverse`, each change of the (JSON only) patches goes from its new
// value back to its old one, checked and written by the same rules.
int RunApply(const ApplyOptions& options, std::ostream& console);

} // namespace kt63
