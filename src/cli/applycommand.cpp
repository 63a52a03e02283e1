#include "commands.h"

#include "csvpatch.h"
#include "datafileopen.h"
#include "dataimage.h"
#include "interruption.h"
#include "journalstore.h"
#include "jsonpatch.h"
#include "patchapply.h"
#include "tablefileerror.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <iterator>

namespace kt63 {

namespace {

bool IsJsonName(const std::string& path)
{
    const std::string suffix = ".json";
    return path.size() >= suffix.size() &&
           std::equal(suffix.rbegin(), suffix.rend(), path.rbegin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

void List(std::ostream& console, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        console << line << '\n';
}

// The file as the unedited dumps `bases` show it: the dumps' values put over the file's. Where
// two dumps give a cell, they must agree on it.
DataImage BaseImage(const DataImage& image, const std::vector<std::string>& bases,
                    std::vector<std::string>& problems)
{
    const CsvCells cells = bases.size() > 1 ? CsvCells::Every : CsvCells::Changed;
    std::vector<FieldChange> values;
    for (const std::string& path : bases) {
        const Patch dump = ReadCsvPatch(path, image, cells);
        Append(problems, dump.problems);
        values.insert(values.end(), dump.changes.begin(), dump.changes.end());
    }
    std::vector<FieldChange> merged = MergeAgreeing(std::move(values), problems);
    KeepEffective(merged);
    Append(problems, CheckChanges(merged, image));
    return WithChanges(image, merged);
}

// A dry run only reads, so it works while the editor holds the file; a real run holds it so that
// no editor window or second apply can write it meanwhile.
DataUse UseOf(const ApplyOptions& options)
{
    return options.dryRun ? DataUse::Preview : DataUse::Change;
}

// The writes, with the rollback journal made durable beside the file before the first of them,
// and stopped, all put back, by Ctrl+C and the like.
std::vector<std::string> WriteGuarded(HeldDataFile& file, const std::vector<FieldChange>& changes,
                                      const ApplyOptions& options)
{
    const InterruptionGuard interruption;
    try {
        const std::unique_ptr<JournalStore> journal =
            options.noJournal ? nullptr : JournalForChange(options.data);
        return WriteChanges(file, changes, {journal.get(), &interruption.Requested()});
    } catch (const EJournalError& error) {
        if (error.step() != EJournalError::Step::Write)
            throw;
        throw ETableFileError(error.message() + ": nothing written to " + options.data +
                              " (an apply cut off without its journal cannot be undone; "
                              "--no-journal applies without it)");
    }
}

// A change taken back out goes from its new value to its old one, and the file must hold the
// new value. A CSV patch has no old values to go back to: the file's are taken as its old ones.
void RefuseUnreversible(const ApplyOptions& options)
{
    if (!options.reverse)
        return;
    for (const std::string& path : options.patches)
        if (!IsJsonName(path))
            throw ETableFileError(path + " is a CSV patch: it holds no old values, so --reverse "
                                         "cannot take it back out (a JSON patch made by diff "
                                         "--json can be)");
}

Patch ReadPatch(const std::string& path, const DataImage& base, bool reverse)
{
    if (!IsJsonName(path))
        return ReadCsvPatch(path, base);
    Patch patch = ReadJsonPatch(path);
    if (reverse)
        for (FieldChange& change : patch.changes)
            std::swap(change.oldValue, change.newValue);
    return patch;
}

// `more` after `changes`, in their order. The longer list takes the shorter in, where it has
// room for it, so that it is not copied: a patch of every field has 460,000 changes. Otherwise
// the list is grown to the size needed, not doubled.
void Join(std::vector<FieldChange>& changes, std::vector<FieldChange>&& more)
{
    const size_t total = changes.size() + more.size();
    if (more.size() > changes.size() && more.capacity() >= total) {
        more.insert(more.begin(), std::make_move_iterator(changes.begin()),
                    std::make_move_iterator(changes.end()));
        changes = std::move(more);
        return;
    }
    changes.reserve(total);
    changes.insert(changes.end(), std::make_move_iterator(more.begin()),
                   std::make_move_iterator(more.end()));
}

void ListChanges(std::ostream& console, const std::vector<FieldChange>& changes, const char* lead)
{
    std::string line;
    for (const FieldChange& change : changes) {
        line = lead;
        AppendChange(line, change);
        line += '\n';
        console.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

} // namespace

int RunApply(const ApplyOptions& options, std::ostream& console)
{
    RefuseUnreversible(options);
    const std::unique_ptr<HeldDataFile> file =
        OpenDataFile(options.data, UseOf(options), std::cerr);
    const DataImage image = ReadTables(*file);
    std::vector<FieldChange> changes;
    std::vector<std::string> problems;
    const DataImage base = BaseImage(image, options.bases, problems);
    for (const std::string& path : options.patches) {
        Patch patch = ReadPatch(path, base, options.reverse);
        Join(changes, std::move(patch.changes));
        Append(problems, patch.problems);
    }
    Append(problems, CheckChanges(changes, image));
    if (!problems.empty()) {
        List(console, problems);
        console << "nothing written: " << problems.size() << " problem"
                << (problems.size() == 1 ? "" : "s") << '\n';
        return ExitDifferent;
    }
    std::vector<FieldChange>& effective = changes;
    KeepEffective(effective);
    if (options.dryRun || effective.empty()) {
        ListChanges(console, effective, "would write ");
        console << "nothing written" << '\n';
        return ExitSame;
    }
    // The changes are listed once they are in the file: an apply that fails says only why.
    const std::vector<std::string> failures = WriteGuarded(*file, effective, options);
    if (!failures.empty()) {
        List(console, failures);
        return ExitTrouble;
    }
    ListChanges(console, effective, "");
    console << effective.size() << " field" << (effective.size() == 1 ? "" : "s") << " written"
            << '\n';
    return ExitSame;
}

} // namespace kt63
