#include "csvpatch.h"
#include "dataimage.h"
#include "datalayout.h"
#include "tablefileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Patches are shared between modders, so any bytes may arrive as a CSV patch: reading one must
// end in the reader's own error or in changes that each name a real field of a real row, with
// the file's value as the old one. Anything else (a crash, another exception, a hang) is a
// finding. Nothing here opens a file, so nothing can be written.
namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

const kt63::DataImage& Image()
{
    static const kt63::DataImage image = [] {
        std::vector<uint8_t> bytes(kt63::DataFileMinimumSize);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i * 131 + (i >> 9));
        return kt63::DataImage(std::move(bytes));
    }();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name = "patch.csv";
    kt63::Patch patch;
    try {
        patch = kt63::ParseCsvPatch(std::string(reinterpret_cast<const char*>(data), size), name,
                                    Image(), kt63::CsvCells::Every);
    } catch (const kt63::ETableFileError& error) {
        Require(error.message().rfind(name, 0) == 0);
        return 0;
    }
    for (const kt63::FieldChange& change : patch.changes) {
        const kt63::TableLayout& table = kt63::Table(change.table);
        Require(kt63::KeyIsValid(change.table, change.key));
        Require(change.column >= 0 && static_cast<size_t>(change.column) < table.columns.size());
        const kt63::Column& column = table.columns[static_cast<size_t>(change.column)];
        Require(change.oldValue == Image().Value(change.table, change.key, column));
        Require(change.source.Text().rfind(name + " row ", 0) == 0);
    }
    for (const std::string& problem : patch.problems)
        Require(problem.rfind(name + " row ", 0) == 0);
    return 0;
}
