#pragma once

#include "patchfile.h"

#include <functional>
#include <string>
#include <vector>

namespace kt63 {

using CsvRow = std::vector<std::string>;
using CsvTable = std::vector<CsvRow>;

// Takes each row of a CSV text as it ends.
using CsvRowHandler = std::function<void(const CsvRow&)>;

// Parses a CSV text as its pieces come (RFC 4180; CRLF or LF line ends; blank lines and a UTF-8
// byte order mark skipped), handing over each row as it ends: only one row is held at a time.
// Throws ETableFileError naming the text `name` when it breaks the quoting rules, and passes on
// what `onRow` throws.
void ParseCsvPieces(const NextPiece& next, const std::string& name, const CsvRowHandler& onRow);

// Every row of the CSV file at `path` by the same rules. Throws ETableFileError naming the
// file when it cannot be read or is not CSV.
CsvTable ReadCsvFile(const std::string& path);

} // namespace kt63
