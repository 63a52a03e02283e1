#include "commands.h"

#include "datafileopen.h"
#include "dataimage.h"
#include "jsonpatch.h"
#include "tablediff.h"

#include <iostream>

namespace kt63 {

namespace {

DataImage WholeFile(const std::string& path)
{
    const std::unique_ptr<HeldDataFile> file = OpenDataFile(path, DataUse::Read, std::cerr);
    return ReadWholeFile(*file);
}

} // namespace

int RunDiff(const DiffOptions& options, std::ostream& console)
{
    const DataImage a = WholeFile(options.a);
    const DataImage b = WholeFile(options.b);
    const TableDiff diff = DiffImages(a, b);
    if (options.json)
        console << DiffToJson(diff);
    else
        console << FormatDiff(diff);
    return diff.empty() ? ExitSame : ExitDifferent;
}

} // namespace kt63
