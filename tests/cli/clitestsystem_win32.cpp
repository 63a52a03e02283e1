#include "clitestfiles.h"

#include "utf8path.h"

#include <stdexcept>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63::test {

namespace {

// File times count 100-nanosecond ticks from 1601; the tests count nanoseconds from 1970.
constexpr int64_t TicksFrom1601To1970 = 116444736000000000;

HANDLE OpenForTimes(const std::string& path, DWORD access)
{
    const HANDLE file = ::CreateFileW(PathFromUtf8(path).c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path);
    return file;
}

} // namespace

int64_t ModifiedAt(const std::string& path)
{
    const HANDLE file = OpenForTimes(path, FILE_READ_ATTRIBUTES);
    FILETIME written{};
    const bool known = ::GetFileTime(file, nullptr, nullptr, &written) != 0;
    ::CloseHandle(file);
    if (!known)
        throw std::runtime_error("cannot read the time of " + path);
    const int64_t ticks = (int64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
    return (ticks - TicksFrom1601To1970) * 100;
}

void SetModifiedAt(const std::string& path, int64_t nanoseconds)
{
    const int64_t ticks = nanoseconds / 100 + TicksFrom1601To1970;
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE file = OpenForTimes(path, FILE_WRITE_ATTRIBUTES);
    const bool set = ::SetFileTime(file, nullptr, &time, &time) != 0;
    ::CloseHandle(file);
    if (!set)
        throw std::runtime_error("cannot set the time of " + path);
}

} // namespace kt63::test
