#include "journalstore.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kt63 {

namespace {

bool Fail(std::string& failure, int error)
{
    failure = std::generic_category().message(error);
    return false;
}

class PosixJournal final : public JournalStore
{
public:
    PosixJournal(std::string path, std::string aside)
        : mPath(std::move(path)), mAside(std::move(aside)),
          mFolder(std::filesystem::path(mPath).parent_path().string())
    {
        if (mFolder.empty())
            mFolder = ".";
    }
    ~PosixJournal() override { Close(); }

    std::string Name() const override { return mPath; }
    std::string AsideName() const override { return mAside; }

    Found Load(std::vector<uint8_t>& bytes, std::string& failure) override
    {
        // O_NONBLOCK keeps a FIFO at the path from holding the open up.
        const int fd = ::open(mPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return errno == ENOENT ? Found::Nothing : Unreadable(failure, errno);
        const Found found = ReadWhole(fd, bytes, failure);
        ::close(fd);
        return found;
    }

    bool Create(std::string& failure) override
    {
        mFd = ::open(mPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        return mFd >= 0 || Fail(failure, errno);
    }

    bool Append(std::span<const uint8_t> bytes, std::string& failure) override
    {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t wrote = ::write(mFd, bytes.data() + done, bytes.size() - done);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return Fail(failure, wrote < 0 ? errno : EIO);
            done += static_cast<size_t>(wrote);
        }
        return true;
    }

    bool SyncAndClose(std::string& failure) override
    {
        if (::fsync(mFd) != 0) {
            const int error = errno;
            Close();
            return Fail(failure, error);
        }
        return Close() || Fail(failure, errno);
    }

    // A folder is synced through a descriptor of its own. File systems that cannot sync a
    // folder say EINVAL; they keep no separate record to sync.
    bool SyncFolder(std::string& failure) override
    {
        const int fd = ::open(mFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return Fail(failure, errno);
        const bool synced = ::fsync(fd) == 0 || errno == EINVAL || Fail(failure, errno);
        ::close(fd);
        return synced;
    }

    bool Remove(std::string& failure) override
    {
        Close();
        return ::unlink(mPath.c_str()) == 0 || errno == ENOENT || Fail(failure, errno);
    }

    // A file system that cannot refuse to replace (EINVAL) is asked whether the name is free
    // first; nothing else renames journals meanwhile.
    bool SetAside(std::string& failure) override
    {
        Close();
        int moved =
            ::renameat2(AT_FDCWD, mPath.c_str(), AT_FDCWD, mAside.c_str(), RENAME_NOREPLACE);
        if (moved != 0 && errno == EINVAL) {
            struct stat info
            {
            };
            if (::lstat(mAside.c_str(), &info) == 0)
                return Fail(failure, EEXIST);
            moved = ::rename(mPath.c_str(), mAside.c_str());
        }
        return (moved == 0 || Fail(failure, errno)) && SyncFolder(failure);
    }

private:
    static Found Unreadable(std::string& failure, int error)
    {
        Fail(failure, error);
        return Found::Unreadable;
    }

    static Found ReadWhole(int fd, std::vector<uint8_t>& bytes, std::string& failure)
    {
        struct stat info
        {
        };
        if (::fstat(fd, &info) != 0)
            return Unreadable(failure, errno);
        if (!S_ISREG(info.st_mode)) {
            failure = "not a regular file";
            return Found::Unreadable;
        }
        if (info.st_size > LargestJournalSize())
            return Unreadable(failure, EFBIG);
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return Unreadable(failure, errno);
            if (got == 0)
                break;
            done += static_cast<size_t>(got);
        }
        bytes.resize(done);
        return Found::Read;
    }

    bool Close()
    {
        if (mFd < 0)
            return true;
        const int fd = mFd;
        mFd = -1;
        return ::close(fd) == 0;
    }

    std::string mPath;
    std::string mAside;
    std::string mFolder;
    int mFd = -1;
};

} // namespace

std::unique_ptr<JournalStore> OpenJournalStore(const std::string& path,
                                               const std::string& asidePath)
{
    return std::make_unique<PosixJournal>(path, asidePath);
}

int64_t LinkCountOf(const std::string& path, std::string& failure)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        Fail(failure, errno);
        return -1;
    }
    return static_cast<int64_t>(info.st_nlink);
}

} // namespace kt63
