#include "commands.h"

#include "dataimage.h"
#include "jsonpatch.h"
#include "tablediff.h"
#include "tfilestream.h"

#include <ostream>

namespace kt63 {

int RunDiff(const DiffOptions& options, std::ostream& console)
{
    const DataImage a = ReadWholeFile(*OpenForReading(options.a));
    const DataImage b = ReadWholeFile(*OpenForReading(options.b));
    const TableDiff diff = DiffImages(a, b);
    if (options.json)
        console << DiffToJson(diff);
    else
        console << FormatDiff(diff);
    return diff.empty() ? ExitSame : ExitDifferent;
}

} // namespace kt63
