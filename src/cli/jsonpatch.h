#pragma once

#include "patch.h"

#include <string>

namespace kt63 {

struct TableDiff;

// The diff as a JSON patch: {"changes": [{"table": "weapons", "Weapon": 17, "field": "Speed",
// "old": 12, "new": 15}, ...], "strayBytes": [{"first": 100, "last": 103}, ...]}. The stray
// bytes are there for the reader; applying a patch writes fields only.
std::string DiffToJson(const TableDiff& diff);

// Reads the changes of a JSON patch at `path`, each named by its place in the list. Throws
// ETableFileError when the file cannot be read or is not JSON.
Patch ReadJsonPatch(const std::string& path);

// The same for the text of a JSON patch, named `name` in every problem and error.
Patch ParseJsonPatch(const std::string& text, const std::string& name);

} // namespace kt63
