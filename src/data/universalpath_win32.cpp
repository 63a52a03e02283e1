#include "universalpath.h"

#include "tfilestream.h"
#include "utf8path.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <winnetwk.h>

#include <filesystem>
#include <vector>

namespace kt63 {

std::string UniversalPath(const std::string& path)
{
    const std::string absolute = AbsolutePath(path);
    std::wstring wide;
    try {
        wide = PathFromUtf8(absolute).native();
    } catch (const std::filesystem::filesystem_error&) {
        return absolute;
    }
    // A path on a local drive gives ERROR_NOT_CONNECTED: it is its own universal name.
    std::vector<char> buffer(sizeof(UNIVERSAL_NAME_INFOW) + 1024 * sizeof(wchar_t));
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD result =
        ::WNetGetUniversalNameW(wide.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.resize(size);
        result =
            ::WNetGetUniversalNameW(wide.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    }
    if (result != NO_ERROR)
        return absolute;
    const auto* info = reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(buffer.data());
    return Utf8FromPath(std::filesystem::path(info->lpUniversalName));
}

} // namespace kt63
