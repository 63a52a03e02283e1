#pragma once

#include <string>
#include <vector>

namespace kt63 {

using CsvRow = std::vector<std::string>;
using CsvTable = std::vector<CsvRow>;

// The rows of the CSV file at `path` (RFC 4180; CRLF or LF line ends; blank lines and a UTF-8
// byte order mark skipped).
// Throws ETableFileError naming the file when it cannot be read or breaks the quoting rules.
CsvTable ReadCsvFile(const std::string& path);

// The rows of a CSV text by the same rules; errors name it `name`.
CsvTable ParseCsvText(std::string text, const std::string& name);

} // namespace kt63
