#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kt63 {
class TFileStream;
}

namespace kt63::bench {

// A data file of exactly the minimum size, filled with repeatable pseudo-random bytes, in a
// fresh temporary folder that goes away with the object. The benchmarks save into it freely.
// It is opened twice: once as the editor opens it (the benchmarks hold it as the editor does),
// and once as a bare descriptor for the raw
// system-call floors, so that both run on the same cached pages.
class ScratchDataFile
{
public:
    explicit ScratchDataFile(uint32_t seed);
    ~ScratchDataFile();
    ScratchDataFile(const ScratchDataFile&) = delete;
    ScratchDataFile& operator=(const ScratchDataFile&) = delete;

    TFileStream& stream() { return *mStream; }
    int descriptor() const { return mDescriptor; }

private:
    std::string mFolder;
    std::string mPath;
    std::unique_ptr<TFileStream> mStream;
    int mDescriptor = -1;
};

// The one scratch file every benchmark of this executable shares, made on first use.
ScratchDataFile& SharedDataFile();

} // namespace kt63::bench
