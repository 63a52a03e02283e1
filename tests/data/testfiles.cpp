#include "testfiles.h"

#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kt63::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kt63-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    mPath = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    const ssize_t done = ::write(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (done != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot write " + path);
}

Bytes ReadBytes(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    struct stat info
    {
    };
    ::fstat(fd, &info);
    Bytes bytes(static_cast<size_t>(info.st_size));
    const ssize_t done = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (done != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

bool WriteSparse(const std::string& path, int64_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    const bool made = ::ftruncate(fd, size) == 0;
    ::close(fd);
    return made;
}

bool Exists(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0;
}

Bytes RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 engine(seed);
    Bytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(engine() >> 24);
    return bytes;
}

Bytes Hex(const std::string& text)
{
    std::istringstream in(text);
    Bytes bytes;
    std::string pair;
    while (in >> pair)
        bytes.push_back(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
    return bytes;
}

} // namespace kt63::test
