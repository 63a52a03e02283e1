#pragma once

#include <string>
#include <string_view>

namespace kt63 {

// Shift-JIS as the game writes it: code page 932, through the system's own converter (Windows'
// code page, iconv's "CP932" elsewhere), so that the window and kt63-table read and write the
// same names on both systems.

// Text in code page 932 to UTF-8. A byte that starts no character of the code page, such as a
// lead byte left at the end by a cut name, becomes U+FFFD.
std::string DecodeCp932(std::string_view bytes);

// UTF-8 text to code page 932. A character that the code page cannot hold becomes the one
// byte '?', as Windows writes it. So does one that the code page writes only as a look-alike
// (iconv writes a yen sign as a backslash, Windows' best fit a wave dash for a tilde): it would
// not read back as what was written.
std::string EncodeCp932(std::string_view text);

// Whether code page 932 holds every character of the UTF-8 text.
bool FitsCp932(std::string_view text);

} // namespace kt63
