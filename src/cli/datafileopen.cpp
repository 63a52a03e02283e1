#include "datafileopen.h"

#include "tablefileerror.h"

#include <cerrno>
#include <ostream>
#include <system_error>

namespace kt63 {

namespace {

const char* const Lead = "kt63-table: ";

std::string Fields(size_t count)
{
    return std::to_string(count) + " field" + (count == 1 ? "" : "s");
}

// Why a journal beside the file is not the file's.
std::string Mismatch(const JournalInspection& found, const std::string& data)
{
    switch (found.verdict) {
    case JournalVerdict::OtherFile:
        return "it was written for another file at this path";
    case JournalVerdict::OtherLength:
        return "it was written for a file of " + std::to_string(found.journal.length) + " bytes; " +
               data + " has " + std::to_string(found.length);
    case JournalVerdict::ChangedSince:
        return data + " was changed since: the byte at " + std::to_string(found.changedAt) +
               " holds neither its value before nor after the apply";
    default:
        return "it is not a journal of ours: kt63-table writes none of another version, nor "
               "one that names anything but the tables' fields, each once";
    }
}

std::string NotItsJournal(const JournalOutcome& outcome, const std::string& data)
{
    return outcome.journal + " is not the journal of " + data + " as it is now (" +
           Mismatch(outcome.found, data) + ")";
}

std::string IncompleteNote(const JournalOutcome& outcome, const std::string& data)
{
    return outcome.journal + ", left incomplete by an apply that stopped before it wrote to " +
           data;
}

// A file that cannot be written for want of permission is not freed by closing anything.
bool RefusedForAccess(const std::string& refusal)
{
    for (int error : {EACCES, EPERM, EROFS})
        if (refusal == std::generic_category().message(error))
            return true;
    return false;
}

// What the user does so that the journal can be settled.
std::string HowToSettle(const JournalOutcome& outcome, DataUse use, const std::string& data)
{
    if (use == DataUse::Preview)
        return "--dry-run writes nothing, so run kt63-table check " + data + " first";
    const std::string why = "it cannot be held for writing now (" + outcome.refusal + "): ";
    if (RefusedForAccess(outcome.refusal))
        return why + "run kt63-table check " + data + " as a user who may write to it";
    return why + "close the program that holds it (the editor's window, or an apply still "
                 "running) and run kt63-table again";
}

std::string DamagedError(const JournalOutcome& outcome, DataUse use, const std::string& data)
{
    const std::string lead = outcome.journal +
                             " is damaged (its checksum or its length is wrong), and " + data +
                             " may hold part of an apply that did not finish";
    if (!outcome.settled)
        return lead + "; " + HowToSettle(outcome, use, data);
    return lead + ": nothing written; the journal is kept as " + outcome.aside +
           ". Put back a copy of " + data +
           " from before that apply (the README tells what else can be done)";
}

[[noreturn]] void Stop(const JournalOutcome& outcome, DataUse use, const std::string& data)
{
    switch (outcome.found.verdict) {
    case JournalVerdict::Damaged:
        throw ETableFileError(DamagedError(outcome, use, data));
    case JournalVerdict::Unfinished:
        throw ETableFileError(data + " is partly written by an apply that did not finish, which " +
                              outcome.journal + " undoes; " + HowToSettle(outcome, use, data));
    default:
        break;
    }
    throw ETableFileError(NotItsJournal(outcome, data) + ": nothing written; delete it once " +
                          data + " is as it should be, then apply again");
}

void SaySettled(const JournalOutcome& outcome, const std::string& data, std::ostream& notes)
{
    const size_t count = outcome.found.journal.entries.size();
    switch (outcome.found.verdict) {
    case JournalVerdict::Unfinished:
        notes << Lead << "an unfinished apply to " << data << " was undone: " << outcome.journal
              << " put back the old values of " << Fields(count) << ".\n";
        break;
    case JournalVerdict::Finished:
        notes << Lead << "removed " << outcome.journal << ": every one of its " << Fields(count)
              << " already holds its new value (the apply to " << data
              << " had finished), so the file is kept as it is.\n";
        break;
    case JournalVerdict::NotBegun:
        notes << Lead << "removed " << outcome.journal << ": " << data
              << " still holds the old values of all " << Fields(count)
              << ", so nothing was undone.\n";
        break;
    case JournalVerdict::Incomplete:
        notes << Lead << "removed " << IncompleteNote(outcome, data) << ".\n";
        break;
    default:
        break;
    }
}

void SayLeft(const JournalOutcome& outcome, const std::string& data, std::ostream& notes)
{
    const JournalVerdict verdict = outcome.found.verdict;
    if (IsForeignJournal(verdict))
        notes << Lead << NotItsJournal(outcome, data) << ": left alone; delete it once " << data
              << " is as it should be.\n";
    else if (verdict == JournalVerdict::Incomplete)
        notes << Lead << IncompleteNote(outcome, data)
              << ", is left for the next command that holds it for writing.\n";
    else if (verdict != JournalVerdict::None)
        notes << Lead << outcome.journal << " is left for the next command that holds " << data
              << " for writing (the file holds all of that apply or none of it).\n";
}

} // namespace

std::unique_ptr<HeldDataFile> OpenDataFile(const std::string& path, DataUse use,
                                           std::ostream& notes)
{
    SettledDataFile opened = OpenSettled(path, use);
    const JournalOutcome& outcome = opened.journal;
    const std::string data = opened.file->FileName();
    if (outcome.stops)
        Stop(outcome, use, data);
    if (outcome.settled && !IsForeignJournal(outcome.found.verdict))
        SaySettled(outcome, data, notes);
    else
        SayLeft(outcome, data, notes);
    return std::move(opened.file);
}

} // namespace kt63
