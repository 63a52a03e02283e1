#pragma once

#include <string>
#include <string_view>

namespace kt63 {

// UTF-16 of the Windows API to the program's UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// The program's UTF-8 to UTF-16; a byte that starts no UTF-8 character becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

} // namespace kt63
