#include "tfilestream.h"

#include "exception.h"
#include "filesharing.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kt63 {

namespace {

int AccessFlags(uint16_t mode)
{
    switch (mode & 0x3) {
    case fmOpenRead:
        return O_RDONLY;
    case fmOpenWrite:
        return O_WRONLY;
    case fmOpenReadWrite:
        return O_RDWR;
    default:
        return -1;
    }
}

// O_NONBLOCK keeps the open itself from hanging on a FIFO, which is then refused as not a
// regular file; for regular files the flag has no effect and is cleared again. Gives the
// descriptor, or -1 with `reason` saying why.
int OpenRegularFile(const std::string& path, int accessFlags, std::string& reason)
{
    const int fd = ::open(path.c_str(), accessFlags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        reason = std::generic_category().message(errno);
        return -1;
    }
    struct stat info
    {
    };
    const bool measured = ::fstat(fd, &info) == 0;
    if (!measured || !S_ISREG(info.st_mode)) {
        reason = !measured               ? std::generic_category().message(errno)
                 : S_ISDIR(info.st_mode) ? std::generic_category().message(EISDIR)
                                         : "not a regular file";
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileIdentity IdentityOf(const struct stat& info)
{
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

// Both mean that nothing is at the path: the file, or a folder on the way, is gone.
bool IsAbsence(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

} // namespace

std::string AbsolutePath(const std::string& path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

TFileStream::TFileStream(const std::string& path, uint16_t mode)
    : mHandle(-1), mPath(path), mAbsolutePath(AbsolutePath(path))
{
    if (!IsValidOpenMode(mode))
        throw EFOpenError(path, std::generic_category().message(EINVAL));
    std::string reason;
    mHandle = OpenRegularFile(path, AccessFlags(mode), reason);
    if (mHandle < 0)
        throw EFOpenError(path, reason);
    if (!AcquireSharing(mHandle, mode)) {
        ::close(mHandle);
        throw EFOpenError(path, "in use by another program");
    }
}

TFileStream::~TFileStream()
{
    ::close(mHandle);
}

int32_t TFileStream::Seek(int32_t offset, uint16_t origin)
{
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin > soFromEnd) {
        SetLastError(EINVAL);
        return -1;
    }
    const off_t position = ::lseek(mHandle, offset, whence[origin]);
    SetLastError(position < 0 ? errno : position > INT32_MAX ? EOVERFLOW : 0);
    if (LastError() != 0)
        return -1;
    return static_cast<int32_t>(position);
}

int32_t TFileStream::Read(void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    ssize_t done;
    do {
        done = ::read(mHandle, buffer, static_cast<size_t>(count));
    } while (done < 0 && errno == EINTR);
    SetLastError(done < 0 ? errno : 0);
    return done < 0 ? 0 : static_cast<int32_t>(done);
}

int32_t TFileStream::Write(const void* buffer, int32_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t written = 0;
    SetLastError(0);
    while (written < count) {
        const ssize_t done =
            ::write(mHandle, bytes + written, static_cast<size_t>(count - written));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            // A write that stores nothing without an error number still stored nothing.
            SetLastError(done < 0 ? errno : EIO);
            break;
        }
        written += static_cast<int32_t>(done);
    }
    return written;
}

int32_t TFileStream::ReadAt(int32_t offset, void* buffer, int32_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    int32_t got = 0;
    SetLastError(0);
    while (got < count) {
        const ssize_t done = ::pread(mHandle, bytes + got, static_cast<size_t>(count - got),
                                     static_cast<off_t>(offset) + got);
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            SetLastError(errno);
        if (done <= 0)
            break; // the end of the file, or the system's refusal
        got += static_cast<int32_t>(done);
    }
    return got;
}

int32_t TFileStream::WriteAt(int32_t offset, const void* buffer, int32_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t written = 0;
    SetLastError(0);
    while (written < count) {
        const ssize_t done =
            ::pwrite(mHandle, bytes + written, static_cast<size_t>(count - written),
                     static_cast<off_t>(offset) + written);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            SetLastError(done < 0 ? errno : EIO);
            break;
        }
        written += static_cast<int32_t>(done);
    }
    return written;
}

bool TFileStream::Sync()
{
    SetLastError(::fdatasync(mHandle) == 0 ? 0 : errno);
    return LastError() == 0;
}

int64_t TFileStream::Size()
{
    struct stat info
    {
    };
    if (::fstat(mHandle, &info) != 0) {
        SetLastError(errno);
        return -1;
    }
    return static_cast<int64_t>(info.st_size);
}

StreamStatus TFileStream::CurrentStatus()
{
    StreamStatus status;
    struct stat held
    {
    };
    if (::fstat(mHandle, &held) != 0) {
        status.path = StreamStatus::Path::Unknown;
        status.size = -1;
        status.reason = std::generic_category().message(errno);
        return status;
    }
    status.size = static_cast<int64_t>(held.st_size);
    status.identity = IdentityOf(held);
    struct stat named
    {
    };
    if (::stat(mAbsolutePath.c_str(), &named) != 0) {
        const int error = errno;
        status.path = IsAbsence(error) ? StreamStatus::Path::Missing : StreamStatus::Path::Unknown;
        status.reason = std::generic_category().message(error);
    } else if (IdentityOf(named) != status.identity) {
        status.path = StreamStatus::Path::NamesAnother;
    }
    return status;
}

} // namespace kt63
