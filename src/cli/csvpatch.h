#pragma once

#include "patch.h"

#include <string>

namespace kt63 {

class DataImage;

// Which cells of a CSV table become changes: those whose value differs from the file's, or every
// one (so that several dumps can be checked against each other).
enum class CsvCells { Changed, Every };

// Reads a CSV table edited from a dump: its header tells the table by its key columns
// ("Weapon"; "Weapon", "Slot"; "Armament", "Tab") and may leave out any field column; a "Name"
// column is ignored. Every cell whose value differs from `image` becomes a change whose old value
// is the file's, named by its row ("edit.csv row 5", the header being row 1). Throws
// ETableFileError when the file cannot be read or is not CSV.
Patch ReadCsvPatch(const std::string& path, const DataImage& image,
                   CsvCells cells = CsvCells::Changed);

// The same for the text of such a table, named `name` in every problem and error.
Patch ParseCsvPatch(const std::string& text, const std::string& name, const DataImage& image,
                    CsvCells cells = CsvCells::Changed);

} // namespace kt63
