#include "clitestfiles.h"

#include <fcntl.h>
#include <iconv.h>
#include <stdexcept>
#include <sys/stat.h>

namespace kt63::test {

std::string EncodeCp932(const std::string& text)
{
    iconv_t handle = ::iconv_open("CP932", "UTF-8");
    if (handle == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no converter for code page 932");
    std::string out(text.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* to = out.data();
    size_t toLeft = out.size();
    const size_t done = ::iconv(handle, &in, &inLeft, &to, &toLeft);
    ::iconv_close(handle);
    if (done == static_cast<size_t>(-1))
        throw std::runtime_error("cannot encode " + text);
    out.resize(out.size() - toLeft);
    return out;
}

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
