#pragma once

#include "settledopen.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace kt63 {

// Opens the data file at `path` for `use` through OpenSettled, and says on `notes` what was
// done about a journal beside it: an unfinished apply undone, a finished one kept, an
// incomplete journal removed, one that is not the file's left alone. Where the file must not
// be used (see JournalOutcome::stops) the command ends with ETableFileError saying why and how
// to go on.
std::unique_ptr<HeldDataFile> OpenDataFile(const std::string& path, DataUse use,
                                           std::ostream& notes);

} // namespace kt63
