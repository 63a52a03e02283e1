#include "commands.h"

#include "datafileopen.h"
#include "dataimage.h"
#include "jsonpatch.h"
#include "savecheck.h"

#include <iostream>

namespace kt63 {

namespace {

std::string CountLine(size_t count)
{
    return std::to_string(count) + (count == 1 ? " field" : " fields") + " would change\n";
}

} // namespace

int RunCheck(const CheckOptions& options, std::ostream& console)
{
    const std::unique_ptr<HeldDataFile> file = OpenDataFile(options.data, DataUse::Read, std::cerr);
    const TableDiff check = CheckSaves(ReadTables(*file));
    if (options.json)
        console << DiffToJson(check);
    else
        console << FormatDiff(check) << CountLine(check.changes.size());
    return check.empty() ? ExitSame : ExitDifferent;
}

} // namespace kt63
