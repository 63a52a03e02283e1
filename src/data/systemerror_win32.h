#pragma once

#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63 {

// The C library's error number for a Windows error, so that messages name a reason in the same
// words on every system.
int ErrorNumber(DWORD error);

// The reason for a Windows error, ready to go into a message.
std::string ReasonOf(DWORD error);

// The UTF-16 form of a UTF-8 path; false when the text is no UTF-8 (a path that UTF-8 cannot
// give is a path that cannot be opened).
bool ToWide(const std::string& path, std::wstring& wide);

} // namespace kt63
