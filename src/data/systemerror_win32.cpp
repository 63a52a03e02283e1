#include "systemerror_win32.h"

#include "utf8path.h"

#include <cerrno>
#include <system_error>

namespace kt63 {

int ErrorNumber(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

std::string ReasonOf(DWORD error)
{
    return std::generic_category().message(ErrorNumber(error));
}

bool ToWide(const std::string& path, std::wstring& wide)
{
    try {
        wide = PathFromUtf8(path).native();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace kt63
