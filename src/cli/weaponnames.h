#pragma once

#include <string>
#include <vector>

namespace kt63 {

// The names of the weapons by number, in UTF-8, from the weapon name list file at `path`:
// entry i of the list names weapon C - i when i is at least the list number k (C names in all),
// as in the editor's weapon list. Index 0 and weapons no entry names are empty. Throws
// EFOpenError when the file cannot be opened.
std::vector<std::string> ReadWeaponNames(const std::string& path);

} // namespace kt63
