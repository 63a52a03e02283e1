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

// The changes are written as they are found: a diff of every field is never held whole.
int RunDiff(const DiffOptions& options, std::ostream& console)
{
    const DataImage a = WholeFile(options.a);
    const DataImage b = WholeFile(options.b);
    bool differs = false;
    if (options.json) {
        JsonPatchWriter patch(console);
        const auto add = [&](const auto& difference) {
            patch.Add(difference);
            differs = true;
        };
        DiffFields(a, b, add);
        DiffStrayBytes(a, b, add);
        patch.Finish();
    } else {
        DiffFields(a, b, [&](const FieldChange& change) {
            console << DescribeChange(change) << '\n';
            differs = true;
        });
        DiffStrayBytes(a, b, [&](const ByteRange& range) {
            console << DescribeStrayBytes(range);
            differs = true;
        });
    }
    return differs ? ExitDifferent : ExitSame;
}

} // namespace kt63
