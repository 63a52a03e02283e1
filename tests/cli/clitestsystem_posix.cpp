#include "clitestfiles.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>

namespace kt63::test {

int64_t ModifiedAt(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        throw std::runtime_error("cannot stat " + path);
    return int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

void SetModifiedAt(const std::string& path, int64_t nanoseconds)
{
    const timespec times[2] = {{nanoseconds / 1000000000, nanoseconds % 1000000000},
                               {nanoseconds / 1000000000, nanoseconds % 1000000000}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

} // namespace kt63::test
