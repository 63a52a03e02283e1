#pragma once

#include "fieldchange.h"

#include <string>
#include <vector>

namespace kt63 {

// The changes a patch file asks for, and every problem found while reading it: a patch with
// problems is never applied, so all of them are gathered before anyone looks.
struct Patch
{
    std::vector<FieldChange> changes;
    std::vector<std::string> problems; // each names the file, the row and the field
};

} // namespace kt63
