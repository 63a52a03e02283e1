// A library to load with LD_PRELOAD into the real programs, so that their file calls meet the
// faults that a broken disk or another program can cause, on one file only.
//
// KT63_FAULT_PATH names the file as the program opens it. When the program opens that path
// while KT63_FAULT is set, its descriptor is watched, and KT63_FAULT says what happens to it,
// counting the calls on it from 1 afresh at every such open:
//   seek:K       the K-th lseek fails with EINVAL and leaves the position
//   read:K       the K-th read fails with EIO
//   shortread:K  the K-th read delivers one byte less than asked
//   write:K      the K-th write fails with EIO
//   sync:K       the K-th fdatasync or fsync fails with EIO
//   stat:K       the K-th stat of the path fails with EACCES
//   rename:K     just before the K-th write, "PATH.other" is renamed over the path
//   delete:K     just before the K-th write, the path is deleted
//   cut:K        just before the K-th write, the file is cut to 1000 bytes
// Every other call of the program goes through untouched.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Call { Seek, Read, Write, Sync, Stat, Count };
enum class Action { Fail, FallShort, Rename, Delete, Cut };

struct Fault
{
    const char* name;
    Call call;
    Action action;
};

constexpr Fault kFaults[] = {{"seek", Call::Seek, Action::Fail},
                             {"read", Call::Read, Action::Fail},
                             {"shortread", Call::Read, Action::FallShort},
                             {"write", Call::Write, Action::Fail},
                             {"sync", Call::Sync, Action::Fail},
                             {"stat", Call::Stat, Action::Fail},
                             {"rename", Call::Write, Action::Rename},
                             {"delete", Call::Write, Action::Delete},
                             {"cut", Call::Write, Action::Cut}};

constexpr off_t kCutLength = 1000;

// The watched descriptor, its path and its fault. The programs make their file calls from one
// thread; the descriptor is atomic so that other threads of a process, which only ever test it,
// see the path complete once they see the descriptor.
std::atomic<int> gWatched{-1};
char gPath[4096] = {};
const Fault* gFault = nullptr;
long gAt = 0;
long gCounts[static_cast<int>(Call::Count)] = {};

template <class Function> Function Next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

const Fault* ParseFault(const char* text, long& at)
{
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr)
        return nullptr;
    for (const Fault& fault : kFaults)
        if (std::strncmp(text, fault.name, static_cast<size_t>(colon - text)) == 0 &&
            fault.name[colon - text] == '\0') {
            at = std::atol(colon + 1);
            return &fault;
        }
    return nullptr;
}

void Opened(const char* path, int fd)
{
    const char* watched = std::getenv("KT63_FAULT_PATH");
    const char* text = std::getenv("KT63_FAULT");
    if (fd < 0 || watched == nullptr || text == nullptr || std::strcmp(path, watched) != 0 ||
        std::strlen(watched) >= sizeof gPath)
        return;
    const Fault* fault = ParseFault(text, gAt);
    if (fault == nullptr)
        return;
    std::strcpy(gPath, watched);
    gFault = fault;
    std::fill(std::begin(gCounts), std::end(gCounts), 0);
    gWatched = fd;
}

bool IsWatched(int fd)
{
    return fd >= 0 && fd == gWatched.load();
}

// Counts a call on the watched file and gives the fault's action when it is due now.
const Action* Due(Call call)
{
    const bool now = ++gCounts[static_cast<int>(call)] == gAt && gFault->call == call;
    return now ? &gFault->action : nullptr;
}

// What another program does just before a write.
void Race(Action action)
{
    if (action == Action::Rename)
        ::rename((std::string(gPath) + ".other").c_str(), gPath);
    else if (action == Action::Delete)
        ::unlink(gPath);
    else if (action == Action::Cut)
        ::truncate(gPath, kCutLength);
}

int Synced(int fd, int (*real)(int))
{
    if (IsWatched(fd) && Due(Call::Sync) != nullptr) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

mode_t ModeOf(int flags, va_list arguments)
{
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
}

} // namespace

extern "C" {

// Tests look this up to know whether the library is loaded.
int kt63_fault_injection = 1;

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    static const auto real = Next<int (*)(const char*, int, ...)>("open");
    const int fd = real(path, flags, mode);
    Opened(path, fd);
    return fd;
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    static const auto real = Next<int (*)(const char*, int, ...)>("open64");
    const int fd = real(path, flags, mode);
    Opened(path, fd);
    return fd;
}

int openat(int folder, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeOf(flags, arguments);
    va_end(arguments);
    static const auto real = Next<int (*)(int, const char*, int, ...)>("openat");
    const int fd = real(folder, path, flags, mode);
    Opened(path, fd);
    return fd;
}

int close(int fd)
{
    static const auto real = Next<int (*)(int)>("close");
    if (IsWatched(fd))
        gWatched = -1;
    return real(fd);
}

off_t lseek(int fd, off_t offset, int whence)
{
    static const auto real = Next<off_t (*)(int, off_t, int)>("lseek");
    if (IsWatched(fd) && Due(Call::Seek) != nullptr) {
        errno = EINVAL;
        return -1;
    }
    return real(fd, offset, whence);
}

off_t lseek64(int fd, off_t offset, int whence)
{
    return lseek(fd, offset, whence);
}

ssize_t read(int fd, void* buffer, size_t count)
{
    static const auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    const Action* action = IsWatched(fd) ? Due(Call::Read) : nullptr;
    if (action != nullptr && *action == Action::Fail) {
        errno = EIO;
        return -1;
    }
    if (action != nullptr && count > 0)
        return real(fd, buffer, count - 1);
    return real(fd, buffer, count);
}

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    const Action* action = IsWatched(fd) ? Due(Call::Write) : nullptr;
    if (action != nullptr && *action == Action::Fail) {
        errno = EIO;
        return -1;
    }
    if (action != nullptr)
        Race(*action);
    return real(fd, buffer, count);
}

int fdatasync(int fd)
{
    static const auto real = Next<int (*)(int)>("fdatasync");
    return Synced(fd, real);
}

int fsync(int fd)
{
    static const auto real = Next<int (*)(int)>("fsync");
    return Synced(fd, real);
}

int stat(const char* path, struct stat* info)
{
    static const auto real = Next<int (*)(const char*, struct stat*)>("stat");
    if (gWatched.load() >= 0 && std::strcmp(path, gPath) == 0 && Due(Call::Stat) != nullptr) {
        errno = EACCES;
        return -1;
    }
    return real(path, info);
}

} // extern "C"
