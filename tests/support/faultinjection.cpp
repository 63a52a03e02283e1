// A library to load with LD_PRELOAD into the real programs, so that their calls on one file meet
// the faults a broken disk or another program can cause. When the program opens the path
// KT63_FAULT_PATH while KT63_FAULT is set, that descriptor is watched; its calls are counted
// from 1 afresh, and KT63_FAULT ("seek:3") says which one fails. Reads are read and pread
// (pread64), writes are write and pwrite (pwrite64), counted together:
//   seek, read, write, sync  the K-th such call fails (EINVAL for a seek, EIO for the others)
//   readeintr, writeeintr    the K-th read or write is interrupted by a signal before it begins
//   shortread                the K-th read delivers one byte less than asked
//   shortwrite               the K-th write stores all but its last byte, as a system may
//   partwrite                the K-th write stores the first half of its bytes and the write
//                            after it fails with EIO, as a disk that breaks off does
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
    {"seek", Call::Seek},        {"read", Call::Read},       {"readeintr", Call::Read},
    {"shortread", Call::Read},   {"write", Call::Write},     {"writeeintr", Call::Write},
    {"shortwrite", Call::Write}, {"partwrite", Call::Write}, {"sync", Call::Sync},
    {"stat", Call::Stat},        {"rename", Call::Write},    {"delete", Call::Write},
    {"cut", Call::Write}};

// The programs make their file calls from one thread; the descriptor is atomic so that other
// threads of a process, which only test it, see the path complete once they see it.
std::atomic<int> gWatched{-1};
char gPath[4096] = {};
const Fault* gFault = nullptr;
long gAt = 0;
long gCounts[static_cast<int>(Call::Count)] = {};
bool gFailNextWrite = false; // after a partwrite

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
            gFailNextWrite = false;
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

bool Is(const char* fault, const char* name)
{
    return fault != nullptr && std::strcmp(fault, name) == 0;
}

// What the fault due makes of a read of `count` bytes: -1 with errno set when it fails,
// otherwise how many bytes to ask the system for.
ssize_t ReadReach(int fd, size_t count)
{
    const char* fault = Due(fd, Call::Read);
    if (Is(fault, "read") || Is(fault, "readeintr"))
        return Failed(Is(fault, "read") ? EIO : EINTR);
    return static_cast<ssize_t>(Is(fault, "shortread") && count > 0 ? count - 1 : count);
}

// The same for a write, doing first what another program does at it.
ssize_t WriteReach(int fd, size_t count)
{
    const char* fault = Due(fd, Call::Write);
    if (fault == nullptr && gFailNextWrite && fd == gWatched.load()) {
        gFailNextWrite = false;
        return Failed(EIO);
    }
    if (Is(fault, "write") || Is(fault, "writeeintr"))
        return Failed(Is(fault, "write") ? EIO : EINTR);
    if (Is(fault, "rename"))
        ::rename((std::string(gPath) + ".other").c_str(), gPath);
    else if (Is(fault, "delete"))
        ::unlink(gPath);
    else if (Is(fault, "cut"))
        ::truncate(gPath, 1000);
    gFailNextWrite = Is(fault, "partwrite");
    if (gFailNextWrite)
        return static_cast<ssize_t>(count / 2);
    return static_cast<ssize_t>(Is(fault, "shortwrite") && count > 0 ? count - 1 : count);
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
    const ssize_t reach = ReadReach(fd, count);
    return reach < 0 ? reach : real(fd, buffer, static_cast<size_t>(reach));
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset)
{
    static const auto real = Next<ssize_t (*)(int, void*, size_t, off_t)>("pread");
    const ssize_t reach = ReadReach(fd, count);
    return reach < 0 ? reach : real(fd, buffer, static_cast<size_t>(reach), offset);
}

ssize_t pread64(int fd, void* buffer, size_t count, off64_t offset)
{
    static const auto real = Next<ssize_t (*)(int, void*, size_t, off64_t)>("pread64");
    const ssize_t reach = ReadReach(fd, count);
    return reach < 0 ? reach : real(fd, buffer, static_cast<size_t>(reach), offset);
}

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t)>("write");
    const ssize_t reach = WriteReach(fd, count);
    return reach < 0 ? reach : real(fd, buffer, static_cast<size_t>(reach));
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    const ssize_t reach = WriteReach(fd, count);
    return reach < 0 ? reach : real(fd, buffer, static_cast<size_t>(reach), offset);
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    const ssize_t reach = WriteReach(fd, count);
    return reach < 0 ? reach : real(fd, buffer, static_cast<size_t>(reach), offset);
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
