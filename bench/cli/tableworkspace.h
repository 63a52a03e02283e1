#pragma once

#include <filesystem>
#include <string>

namespace kt63::bench {

// A data file of repeatable pseudo-random bytes in a fresh temporary folder (TMPDIR, where set,
// chooses the disk) that goes away with the object, one of zero bytes beside it, and room for
// what the benchmarks write.
class Workspace
{
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string data() const { return (mFolder / "Qelvint.dll").string(); }
    std::string zeros() const { return (mFolder / "Zeros.dll").string(); }
    std::string out(const char* name) const { return (mFolder / name).string(); }

private:
    std::filesystem::path mFolder;
};

// The one workspace every benchmark of an executable shares, made on first use.
Workspace& SharedWorkspace();

} // namespace kt63::bench
