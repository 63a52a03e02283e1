#include "tfilestream.h"

#include "exception.h"
#include "utf8path.h"

#include <cerrno>
#include <climits>
#include <system_error>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63 {

namespace {

HANDLE Native(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The access part: read, write, or both.
DWORD DesiredAccess(uint16_t mode)
{
    static constexpr DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    return access[mode & 0x3];
}

// The sharing part: what other openers may do while the stream is open. Parts 0 and 1 both let
// nobody in. Nobody else may delete or rename the file either, so the path keeps naming it.
DWORD ShareMode(uint16_t mode)
{
    static constexpr DWORD share[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE};
    return share[mode >> 4];
}

// The C library's error numbers, so that messages name a reason in the same words everywhere.
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
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

// A path that UTF-8 cannot give is a path that cannot be opened.
bool ToWide(const std::string& path, std::wstring& wide)
{
    try {
        wide = PathFromUtf8(path).native();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

// Only disk files: a console, a printer port or a pipe named like a file is refused, as POSIX
// refuses everything that is not a regular file. Folders cannot be opened without
// FILE_FLAG_BACKUP_SEMANTICS, so they are refused by the open itself.
HANDLE OpenExistingFile(const std::string& path, uint16_t mode)
{
    std::wstring wide;
    if (!ToWide(path, wide))
        return INVALID_HANDLE_VALUE;
    const HANDLE handle = ::CreateFileW(wide.c_str(), DesiredAccess(mode), ShareMode(mode), nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// The volume and the index of a file on it tell files apart as device and inode do on POSIX.
struct FileIdentity
{
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Asks for no access at all, which no other opener's share mode can refuse, and opens folders
// too, so that whatever now lies at the path is found.
bool IdentityAtPath(const std::string& path, FileIdentity& identity)
{
    std::wstring wide;
    if (!ToWide(path, wide))
        return false;
    const HANDLE handle =
        ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    identity = IdentityOf(info);
    return known;
}

} // namespace

std::string AbsolutePath(const std::string& path)
{
    std::wstring wide;
    if (!ToWide(path, wide))
        return path;
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return Utf8FromPath(full);
}

TFileStream::TFileStream(const std::string& path, uint16_t mode)
    : mHandle(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)), mPath(path),
      mAbsolutePath(AbsolutePath(path))
{
    if (!IsValidOpenMode(mode))
        throw EFOpenError(path);
    const HANDLE handle = OpenExistingFile(path, mode);
    if (handle == INVALID_HANDLE_VALUE)
        throw EFOpenError(path);
    mHandle = reinterpret_cast<std::intptr_t>(handle);
}

TFileStream::~TFileStream()
{
    ::CloseHandle(Native(mHandle));
}

int32_t TFileStream::Seek(int32_t offset, uint16_t origin)
{
    static constexpr DWORD method[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (origin > soFromEnd)
        return -1;
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(Native(mHandle), distance, &position, method[origin]) ||
        position.QuadPart > INT32_MAX)
        return -1;
    return static_cast<int32_t>(position.QuadPart);
}

int32_t TFileStream::Read(void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    DWORD done = 0;
    const bool read =
        ::ReadFile(Native(mHandle), buffer, static_cast<DWORD>(count), &done, nullptr) != 0;
    SetLastError(read ? 0 : ErrorNumber(::GetLastError()));
    return read ? static_cast<int32_t>(done) : 0;
}

int32_t TFileStream::Write(const void* buffer, int32_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t written = 0;
    SetLastError(0);
    while (written < count) {
        DWORD done = 0;
        if (!::WriteFile(Native(mHandle), bytes + written, static_cast<DWORD>(count - written),
                         &done, nullptr)) {
            SetLastError(ErrorNumber(::GetLastError()));
            break;
        }
        if (done == 0) {
            // A write that stores nothing without an error still stored nothing.
            SetLastError(EIO);
            break;
        }
        written += static_cast<int32_t>(done);
    }
    return written;
}

// Asks the system to write its cache and the disk's to the medium; whether a disk's own cache
// obeys is up to the disk.
bool TFileStream::Sync()
{
    SetLastError(::FlushFileBuffers(Native(mHandle)) ? 0 : ErrorNumber(::GetLastError()));
    return LastError() == 0;
}

TFileStream::Status TFileStream::CurrentStatus() const
{
    BY_HANDLE_FILE_INFORMATION held{};
    ::GetFileInformationByHandle(Native(mHandle), &held);
    FileIdentity named{};
    const bool exists = IdentityAtPath(mAbsolutePath, named);
    const int64_t size = (int64_t{held.nFileSizeHigh} << 32) | held.nFileSizeLow;
    return {exists && named == IdentityOf(held), exists, size};
}

} // namespace kt63
