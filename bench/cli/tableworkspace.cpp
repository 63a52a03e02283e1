#include "tableworkspace.h"

#include "datalayout.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace kt63::bench {

Workspace::Workspace()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kt63-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    mFolder = pattern;
    std::mt19937 engine(7);
    std::string bytes(DataFileMinimumSize, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(engine() >> 24);
    std::ofstream(data(), std::ios::binary) << bytes;
    std::ofstream(zeros(), std::ios::binary) << std::string(DataFileMinimumSize, '\0');
}

Workspace::~Workspace()
{
    std::error_code ignored;
    std::filesystem::remove_all(mFolder, ignored);
}

Workspace& SharedWorkspace()
{
    static Workspace workspace;
    return workspace;
}

} // namespace kt63::bench
