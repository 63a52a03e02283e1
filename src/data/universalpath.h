#pragma once

#include <string>

namespace kt63 {

// `path` made absolute against the working folder; a path on a drive letter that Windows maps
// to a network share becomes the share's universal name (\\server\share\...), which still
// names the same file when the drive letter is mapped elsewhere. Where the system cannot tell,
// the absolute path serves.
std::string UniversalPath(const std::string& path);

} // namespace kt63
