#include "scratchtmpfs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mount.h>
#include <unistd.h>

namespace kt63::test {

namespace {

std::string MakeFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/kt63tmpfs-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder for the tmpfs: " +
                                 std::string(std::strerror(errno)));
    return pattern;
}

} // namespace

ScratchTmpfs::ScratchTmpfs(int64_t bytes) : mRoot(MakeFolder())
{
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    mMounted =
        ::mount("kt63test", mRoot.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!mMounted)
        mReason = "cannot mount a tmpfs here (needs root with CAP_SYS_ADMIN): " +
                  std::string(std::strerror(errno));
}

ScratchTmpfs::~ScratchTmpfs()
{
    if (mMounted)
        ::umount2(mRoot.c_str(), MNT_DETACH);
    ::rmdir(mRoot.c_str());
}

void ScratchTmpfs::PunchHole(const std::string& path, int64_t offset, int64_t length)
{
    const long page = ::sysconf(_SC_PAGESIZE);
    const int64_t first = offset / page * page;
    const int64_t end = (offset + length + page - 1) / page * page;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const bool punched = fd >= 0 && ::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE,
                                                first, end - first) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!punched)
        throw std::runtime_error("cannot punch a hole into " + path + ": " + std::strerror(error));
}

void ScratchTmpfs::FillUp()
{
    const int fd = ::open(path("filler").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error("cannot create the filler: " + std::string(std::strerror(errno)));
    static const char block[4096] = {};
    // Whole pages until one no longer fits, then single bytes for whatever part of a page is
    // left; a tmpfs hands out whole pages, so this ends with no page free.
    for (size_t size : {sizeof block, size_t{1}})
        while (::write(fd, block, size) > 0) {
        }
    ::close(fd);
}

} // namespace kt63::test
