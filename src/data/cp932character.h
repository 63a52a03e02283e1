#pragma once

#include <string>
#include <string_view>

namespace kt63 {

// Appends the code page 932 bytes of one UTF-8 character, through the system's converter;
// false, and nothing appended, when the converter has no bytes for it.
bool AppendCp932Character(std::string_view character, std::string& bytes);

} // namespace kt63
