// A library to load with LD_PRELOAD into the real programs, so that their calls on one file meet
// the faults a broken disk or another program can cause. When the program opens the path
// KT63_FAULT_PATH while KT63_FAULT is set, that descriptor is watched; its calls are counted
// from 1 afresh, and KT63_FAULT ("seek:3") says which one fails:
//   seek, read, write, sync  the K-th such call fails (EINVAL for a seek, EIO for the others)
//   shortread                the K-th read delivers one byte less than asked
//   stat                     the K-th stat of the path fails with EACCES
//   rename, delete, cut      just before the K-th write, another program renames "PATH.other"
//                            over the path, deletes it, or cuts the file to 1000 bytes
// Every other call goes through untouched.

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Call { Seek, Read, Write, Sync, Stat, Count };

struct Fault
{
    const char* name;
    Call call;
};

constexpr Fault kFaults[] = {
    {"seek", Call::Seek},    {"read", Call::Read},    {"shortread", Call::Read},
    {"write", Call::Write},  {"sync", Call::Sync},    {"stat", Call::Stat},
    {"rename", Call::Write}, {"delete", Call::Write}, {"cut", Call::Write}};

// The programs make their file calls from one thread; the descriptor is atomic so that other
// threads of a process, which only test it, see the path complete once they see it.
std::atomic<int> gWatched{-1};
char gPath[4096] = {};
const Fault* gFault = nullptr;
long gAt = 0;
long gCounts[static_cast<int>(Call::Count)] = {};

template <class Function> Function Next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

void Opened(const char* path, int fd)
{
    const char* watched = std::getenv("KT63_FAULT_PATH");
    const char* text = std::getenv("KT63_FAULT");
    const char* colon = text != nullptr ? std::strchr(text, ':') : nullptr;
    if (fd < 0 || watched == nullptr || colon == nullptr || std::strcmp(path, watched) != 0 ||
        std::strlen(watched) >= sizeof gPath)
        return;
    for (const Fault& fault : kFaults)
        if (std::string(text, colon) == fault.name) {
            std::strcpy(gPath, watched);
            gFault = &fault;
            gAt = std::atol(colon + 1);
            std::fill(std::begin(gCounts), std::end(gCounts), 0);
            gWatched = fd;
            return;
        }
}

// Counts a call on the watched file; gives the name of the fault when it is due now.
const char* Due(int fd, Call call)
{
    if (fd < 0 || fd != gWatched.load())
        return nullptr;
    const bool now = ++gCounts[static_cast<int>(call)] == gAt && gFault->call == call;
    return now ? gFault->name : nullptr;
}

int Failed(int error)
{
    errno = error;
    return -1;
}

} // namespace

extern "C" {

// Tests look this up to know whether the library is loaded.
int kt63_fault_injection = 1;

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    static const auto real = Next<int (*)(const char*, int, ...)>("open");
    const int fd = real(path, flags, mode);
    Opened(path, fd);
    return fd;
}

int close(int fd)
{
    static const auto real = Next<int (*)(int)>("close");
    if (fd >= 0 && fd == gWatched.load())
        gWatched = -1;
    return real(fd);
}

off_t lseek(int fd, off_t offset, int whence)
{
    static const auto real = Next<off_t (*)(int, off_t, int)>("lseek");
    return Due(fd, Call::Seek) != nullptr ? Failed(EINVAL) : real(fd, offset, whence);
}

ssize_t read(int fd, void* buffer, size_t count)
{
    static const auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    const char* fault = Due(fd, Call::Read);
    if (fault != nullptr && std::strcmp(fault, "read") == 0)
        return Failed(EIO);
    return real(fd, buffer, fault != nullptr && count > 0 ? count - 1 : count);
}

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    const char* fault = Due(fd, Call::Write);
    const auto is = [fault](const char* name) {
        return fault != nullptr && std::strcmp(fault, name) == 0;
    };
    if (is("write"))
        return Failed(EIO);
    if (is("rename"))
        ::rename((std::string(gPath) + ".other").c_str(), gPath);
    else if (is("delete"))
        ::unlink(gPath);
    else if (is("cut"))
        ::truncate(gPath, 1000);
    return real(fd, buffer, count);
}

int fdatasync(int fd)
{
    static const auto real = Next<int (*)(int)>("fdatasync");
    return Due(fd, Call::Sync) != nullptr ? Failed(EIO) : real(fd);
}

int stat(const char* path, struct stat* info)
{
    static const auto real = Next<int (*)(const char*, struct stat*)>("stat");
    if (gWatched.load() >= 0 && std::strcmp(path, gPath) == 0 &&
        Due(gWatched.load(), Call::Stat) != nullptr)
        return Failed(EACCES);
    return real(path, info);
}

} // extern "C"
