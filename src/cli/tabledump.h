#pragma once

#include "tablelayout.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace kt63 {

class DataImage;

// Weapon names by number (see ReadWeaponNames); empty when the dump carries no names.
using WeaponNames = std::vector<std::string>;

// Writes every row of `table` as CSV (RFC 4180, CRLF line ends): a header of the key columns,
// "Name" for weapons when `names` is not empty, then the field names; then one line per row
// with the stored values.
void WriteCsvTable(std::ostream& out, const TableLayout& table, const DataImage& image,
                   const WeaponNames& names);

// Writes `tables` as one JSON object with an array per table ("weapons": [...]), each row an
// object of the same columns as the CSV, in the same order.
void WriteJsonTables(std::ostream& out, const std::vector<TableId>& tables, const DataImage& image,
                     const WeaponNames& names);

} // namespace kt63
