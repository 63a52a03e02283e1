#pragma once

#include <filesystem>
#include <string>

namespace kt63 {

// Paths are UTF-8 text everywhere inside the program. The system's own form of a path is made
// only where a file is opened: bytes as they are on POSIX, UTF-16 on Windows, whose narrow
// functions would take the text in the locale's code page and mangle Japanese folder names.
// Both throw std::filesystem::filesystem_error when the text cannot be converted.
std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace kt63
