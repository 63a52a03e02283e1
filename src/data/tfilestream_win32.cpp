#include "tfilestream.h"

#include "exception.h"
#include "systemerror_win32.h"
#include "utf8path.h"

#include <cerrno>
#include <climits>
#include <system_error>

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

// Why an open failed, in the words a POSIX system would use: Windows refuses a folder as
// "access denied" and a share-mode conflict as a "sharing violation".
std::string OpenFailure(const std::wstring& path, DWORD error)
{
    if (error == ERROR_SHARING_VIOLATION)
        return "in use by another program";
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::generic_category().message(EISDIR);
    return ReasonOf(error);
}

// Only disk files: a console, a printer port or a pipe named like a file is refused, as POSIX
// refuses everything that is not a regular file. Folders cannot be opened without
// FILE_FLAG_BACKUP_SEMANTICS, so they are refused by the open itself. Gives the handle, or
// INVALID_HANDLE_VALUE with `reason` saying why.
HANDLE OpenExistingFile(const std::string& path, uint16_t mode, std::string& reason)
{
    std::wstring wide;
    if (!ToWide(path, wide)) {
        reason = ReasonOf(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = ::CreateFileW(wide.c_str(), DesiredAccess(mode), ShareMode(mode), nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = OpenFailure(wide, ::GetLastError());
        return INVALID_HANDLE_VALUE;
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        reason = "not a regular file";
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// The volume and the index of a file on it tell files apart as device and inode do on POSIX.
FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return {info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// Both mean that nothing is at the path: the file, or a folder on the way, is gone.
bool IsAbsence(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// What lies at `path` now, told by its identity. Asks for no access at all, which no other
// opener's share mode can refuse, and opens folders too, so that whatever now lies at the path
// is found. Gives the system's error when nothing can be looked at.
DWORD IdentityAtPath(const std::string& path, FileIdentity& identity)
{
    std::wstring wide;
    if (!ToWide(path, wide))
        return ERROR_INVALID_NAME;
    const HANDLE handle =
        ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD error =
        ::GetFileInformationByHandle(handle, &info) ? ERROR_SUCCESS : ::GetLastError();
    ::CloseHandle(handle);
    identity = IdentityOf(info);
    return error;
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
        throw EFOpenError(path, std::generic_category().message(EINVAL));
    std::string reason;
    const HANDLE handle = OpenExistingFile(path, mode, reason);
    if (handle == INVALID_HANDLE_VALUE)
        throw EFOpenError(path, reason);
    mHandle = reinterpret_cast<std::intptr_t>(handle);
}

TFileStream::~TFileStream()
{
    ::CloseHandle(Native(mHandle));
}

int32_t TFileStream::Seek(int32_t offset, uint16_t origin)
{
    static constexpr DWORD method[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (origin > soFromEnd) {
        SetLastError(EINVAL);
        return -1;
    }
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(Native(mHandle), distance, &position, method[origin])) {
        SetLastError(ErrorNumber(::GetLastError()));
        return -1;
    }
    SetLastError(position.QuadPart > INT32_MAX ? EOVERFLOW : 0);
    return LastError() != 0 ? -1 : static_cast<int32_t>(position.QuadPart);
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

namespace {

// Where a transfer on a synchronous handle is to begin; the call moves the file pointer as well.
OVERLAPPED PlaceAt(int64_t offset)
{
    OVERLAPPED place{};
    place.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    place.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return place;
}

} // namespace

int32_t TFileStream::ReadAt(int32_t offset, void* buffer, int32_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    int32_t got = 0;
    SetLastError(offset < 0 ? EINVAL : 0);
    while (offset >= 0 && got < count) {
        OVERLAPPED place = PlaceAt(int64_t{offset} + got);
        DWORD done = 0;
        if (!::ReadFile(Native(mHandle), bytes + got, static_cast<DWORD>(count - got), &done,
                        &place)) {
            // Reading at or past the end is no error, as a read from the position would be.
            const DWORD error = ::GetLastError();
            SetLastError(error == ERROR_HANDLE_EOF ? 0 : ErrorNumber(error));
            break;
        }
        if (done == 0)
            break;
        got += static_cast<int32_t>(done);
    }
    return got;
}

int32_t TFileStream::WriteAt(int32_t offset, const void* buffer, int32_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t written = 0;
    SetLastError(offset < 0 ? EINVAL : 0);
    while (offset >= 0 && written < count) {
        OVERLAPPED place = PlaceAt(int64_t{offset} + written);
        DWORD done = 0;
        if (!::WriteFile(Native(mHandle), bytes + written, static_cast<DWORD>(count - written),
                         &done, &place)) {
            SetLastError(ErrorNumber(::GetLastError()));
            break;
        }
        if (done == 0) {
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

int64_t TFileStream::Size()
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Native(mHandle), &size)) {
        SetLastError(ErrorNumber(::GetLastError()));
        return -1;
    }
    return size.QuadPart;
}

StreamStatus TFileStream::CurrentStatus()
{
    StreamStatus status;
    BY_HANDLE_FILE_INFORMATION held{};
    if (!::GetFileInformationByHandle(Native(mHandle), &held)) {
        status.path = StreamStatus::Path::Unknown;
        status.size = -1;
        status.reason = ReasonOf(::GetLastError());
        return status;
    }
    status.size = static_cast<int64_t>((uint64_t{held.nFileSizeHigh} << 32) | held.nFileSizeLow);
    status.identity = IdentityOf(held);
    FileIdentity named;
    if (const DWORD error = IdentityAtPath(mAbsolutePath, named); error != ERROR_SUCCESS) {
        status.path = IsAbsence(error) ? StreamStatus::Path::Missing : StreamStatus::Path::Unknown;
        status.reason = ReasonOf(error);
    } else if (named != status.identity) {
        status.path = StreamStatus::Path::NamesAnother;
    }
    return status;
}

} // namespace kt63
