#include "testfiles.h"

#include "utf8path.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kt63::test {

namespace {

// A name no other test process picks at the same moment, tried again in the rare case it did.
std::filesystem::path FreshFolder()
{
    std::random_device seed;
    std::mt19937 engine(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto folder =
            std::filesystem::temp_directory_path() / ("kt63-" + std::to_string(engine()));
        if (std::filesystem::create_directory(folder))
            return folder;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

} // namespace

TempDir::TempDir() : mPath(FreshFolder()) {}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::string TempDir::path(const std::string& name) const
{
    return Utf8FromPath(mPath / PathFromUtf8(name));
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        throw std::runtime_error("cannot write " + path);
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

bool WriteSparse(const std::string& path, int64_t size)
{
    WriteBytes(path, {});
    std::error_code error;
    std::filesystem::resize_file(PathFromUtf8(path), static_cast<uintmax_t>(size), error);
    return !error;
}

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(path), error));
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
