#include "tfilestream.h"

#include "exception.h"
#include "filesharing.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
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
// regular file; for regular files the flag has no effect and is cleared again.
int OpenRegularFile(const std::string& path, int accessFlags)
{
    const int fd = ::open(path.c_str(), accessFlags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
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
        throw EFOpenError(path);
    mHandle = OpenRegularFile(path, AccessFlags(mode));
    if (mHandle < 0)
        throw EFOpenError(path);
    if (!AcquireSharing(mHandle, mode)) {
        ::close(mHandle);
        throw EFOpenError(path);
    }
}

TFileStream::~TFileStream()
{
    ::close(mHandle);
}

int32_t TFileStream::Seek(int32_t offset, uint16_t origin)
{
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin > soFromEnd)
        return -1;
    const off_t position = ::lseek(mHandle, offset, whence[origin]);
    if (position < 0 || position > INT32_MAX)
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

bool TFileStream::Sync()
{
    SetLastError(::fdatasync(mHandle) == 0 ? 0 : errno);
    return LastError() == 0;
}

TFileStream::Status TFileStream::CurrentStatus() const
{
    struct stat held
    {
    };
    struct stat named
    {
    };
    ::fstat(mHandle, &held);
    const bool exists = ::stat(mAbsolutePath.c_str(), &named) == 0;
    return {exists && named.st_dev == held.st_dev && named.st_ino == held.st_ino, exists,
            static_cast<int64_t>(held.st_size)};
}

} // namespace kt63
