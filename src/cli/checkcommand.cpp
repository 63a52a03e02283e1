#include "commands.h"

#include "dataimage.h"
#include "jsonpatch.h"
#include "savecheck.h"

#include <ostream>

namespace kt63 {

namespace {

std::string CountLine(size_t count)
{
    return std::to_string(count) + (count == 1 ? " field" : " fields") + " would change\n";
}

} // namespace

int RunCheck(const CheckOptions& options, std::ostream& console)
{
    HeldDataFile file(options.data, HeldDataFile::Access::ReadOnly);
    const TableDiff check = CheckSaves(ReadTables(file));
    if (options.json)
        console << DiffToJson(check);
    else
        console << FormatDiff(check) << CountLine(check.changes.size());
    return check.empty() ? ExitSame : ExitDifferent;
}

} // namespace kt63
