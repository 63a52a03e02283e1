#include "jsonpatch.h"
#include "tablefileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Patches are shared between modders, so any bytes may arrive as a JSON patch: reading one must
// end in the reader's own error or in changes that each name a real field of a real row. Anything
// else (a crash, another exception, a hang) is a finding. Nothing here opens a file, so nothing
// can be written.
namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name = "patch.json";
    kt63::Patch patch;
    try {
        patch = kt63::ParseJsonPatch(std::string(reinterpret_cast<const char*>(data), size), name);
    } catch (const kt63::ETableFileError& error) {
        Require(error.message().rfind(name, 0) == 0);
        return 0;
    }
    for (const kt63::FieldChange& change : patch.changes) {
        Require(kt63::KeyIsValid(change.table, change.key));
        Require(change.column >= 0 &&
                static_cast<size_t>(change.column) < kt63::Table(change.table).columns.size());
        Require(change.source.Text().rfind(name + " change ", 0) == 0);
    }
    for (const std::string& problem : patch.problems)
        Require(problem.rfind(name + " change ", 0) == 0);
    return 0;
}
