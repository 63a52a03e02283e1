#pragma once

#include "tstream.h"

#include <cstdint>
#include <string>

namespace kt63 {

// Open modes: an access part (bits 0-1) or'ed with a sharing part (bits 4-7).
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;

// Whether `mode` is an access part of 0 to 2 or'ed with a sharing part of 0 to 4, and nothing else.
constexpr bool IsValidOpenMode(uint16_t mode)
{
    return (mode & 0x3) <= fmOpenReadWrite && (mode & ~0xF3u) == 0 && (mode >> 4) <= 4;
}

// An existing file, opened unbuffered: every Read and Write is one system call, so what a
// Write stored is in the file when it returns. Opening never creates, truncates or extends a
// file. Two streams whose modes conflict, in this process or another, cannot both be open: on
// Windows the system enforces the sharing part itself, on POSIX advisory locks do (see
// filesharing.h). Paths are UTF-8.
class TFileStream final : public TStream
{
public:
    // Throws EFOpenError naming `path` as given when the file cannot be opened in `mode`; its
    // reason says why in the system's words.
    TFileStream(const std::string& path, uint16_t mode);
    ~TFileStream() override;

    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int32_t Seek(int32_t offset, uint16_t origin) override;
    int32_t Read(void* buffer, int32_t count) override;
    // Goes on after a partial write until every byte is written or the system refuses.
    int32_t Write(const void* buffer, int32_t count) override;
    // pread and pwrite: one call each where nothing goes wrong; a transfer the system cuts
    // short or a signal interrupts goes on from where it stopped.
    int32_t ReadAt(int32_t offset, void* buffer, int32_t count) override;
    int32_t WriteAt(int32_t offset, const void* buffer, int32_t count) override;
    bool Sync() override;
    std::string FileName() const override { return mPath; }

    // Asks the system; files longer than 2 GiB are measured too.
    int64_t Size() override;

    // Looks at the held file and at what its path names now. A path that cannot be looked at
    // for any reason but its absence (no access to a folder, a disk error) is Unknown.
    StreamStatus CurrentStatus() override;

private:
    std::intptr_t mHandle; // a POSIX descriptor, or the value of a Windows handle
    std::string mPath;
    std::string mAbsolutePath; // for CurrentStatus: a later change of folder must not matter
};

// `path` made absolute against the working folder. Links are not resolved: a link in the path
// stays a link, as the user named it.
std::string AbsolutePath(const std::string& path);

} // namespace kt63
