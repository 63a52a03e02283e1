#pragma once

#include <string>
#include <string_view>

namespace kt63 {

// Text in code page 932 (Shift-JIS) to UTF-8, through the system's own converter. A byte that
// starts no character of the code page, such as a lead byte left at the end by a cut name,
// becomes U+FFFD.
std::string DecodeCp932(std::string_view bytes);

} // namespace kt63
