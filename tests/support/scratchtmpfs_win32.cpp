#include "scratchtmpfs.h"

#include <stdexcept>

namespace kt63::test {

// Windows mounts no tmpfs, and filling up a real disk is no test to run on a user's machine.
ScratchTmpfs::ScratchTmpfs(int64_t) : mReason("Windows has no tmpfs to run a disk out of space on")
{
}

ScratchTmpfs::~ScratchTmpfs() = default;

void ScratchTmpfs::PunchHole(const std::string& path, int64_t, int64_t)
{
    throw std::logic_error("no tmpfs holds " + path);
}

void ScratchTmpfs::FillUp()
{
    throw std::logic_error("no tmpfs to fill up");
}

} // namespace kt63::test
