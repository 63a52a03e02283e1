#include "scratchdatafile.h"

#include "datalayout.h"
#include "tfilestream.h"

#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace kt63::bench {

namespace {

std::string MakeTemporaryFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kt63bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    return pattern;
}

void WriteRandomFile(const std::string& path, uint32_t seed)
{
    std::mt19937 engine(seed);
    std::vector<uint8_t> bytes(DataFileMinimumSize);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(engine() >> 24);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            break;
        done += static_cast<size_t>(written);
    }
    ::close(fd);
    if (done != bytes.size())
        throw std::runtime_error("cannot write " + path);
}

} // namespace

ScratchDataFile::ScratchDataFile(uint32_t seed)
    : mFolder(MakeTemporaryFolder()), mPath(mFolder + "/Qelvint.dll")
{
    try {
        WriteRandomFile(mPath, seed);
        mStream = std::make_unique<TFileStream>(mPath, fmOpenReadWrite | fmShareDenyWrite);
        mDescriptor = ::open(mPath.c_str(), O_RDWR | O_CLOEXEC);
        if (mDescriptor < 0)
            throw std::runtime_error("cannot open " + mPath);
    } catch (...) {
        mStream.reset();
        ::unlink(mPath.c_str());
        ::rmdir(mFolder.c_str());
        throw;
    }
}

ScratchDataFile::~ScratchDataFile()
{
    ::close(mDescriptor);
    mStream.reset();
    ::unlink(mPath.c_str());
    ::rmdir(mFolder.c_str());
}

ScratchDataFile& SharedDataFile()
{
    static ScratchDataFile file(20240601);
    return file;
}

} // namespace kt63::bench
