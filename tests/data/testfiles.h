#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kt63::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it. Paths are
// UTF-8, as the program's own.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const;
    const std::filesystem::path& root() const { return mPath; }

private:
    std::filesystem::path mPath;
};

// Whole-file helpers for checking what the code under test did, through the standard library
// rather than the file stream under test.
void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// Makes `path` a file of `size` bytes that takes no room: every byte reads as zero. Gives false
// when the file system cannot hold a file that long.
bool WriteSparse(const std::string& path, int64_t size);

// Repeatable pseudo-random bytes.
Bytes RandomBytes(size_t size, uint32_t seed);

// Bytes from a text of hexadecimal pairs such as "00 41 42".
Bytes Hex(const std::string& text);

} // namespace kt63::test
