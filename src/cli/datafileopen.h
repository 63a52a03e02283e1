#pragma once

#include "helddatafile.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace kt63 {

enum class DataUse : uint8_t {
    Read,    // dump, diff, check: reads, but may settle a journal first
    Preview, // apply --dry-run: writes nothing at all
    Change,  // apply: holds the file for writing
};

// Opens the data file at `path` for `use`, after looking for the rollback journal that an apply
// cut off by a kill, a crash or a power cut leaves beside it. Whoever can hold the file for
// writing settles it (see SettleJournal) and says so on `notes`: an unfinished apply is undone,
// an incomplete journal removed. A journal of another file, or of the file as it was before it
// was changed since, is reported and left alone; an apply then writes nothing
// (ETableFileError). A file that an unfinished apply left partly written is not read when the
// journal cannot be settled now (another program holds the file, or --dry-run): that ends the
// command with ETableFileError saying how to settle it.
std::unique_ptr<HeldDataFile> OpenDataFile(const std::string& path, DataUse use,
                                           std::ostream& notes);

} // namespace kt63
