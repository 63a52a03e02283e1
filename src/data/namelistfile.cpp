#include "namelistfile.h"

#include "tfilestream.h"

#include <filesystem>

namespace kt63 {

namespace {

// Made absolute, not resolved: a link in the path stays a link, as the user named it.
std::string AbsolutePath(const std::string& path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

} // namespace

NameListFile ReadNameListFile(const std::string& path)
{
    TFileStream file(path, fmOpenRead | fmShareExclusive);
    NameListFile list;
    list.namesAreaSize = file.Size() - 2;
    if (list.namesAreaSize >= 0) {
        list.namesArea.assign(static_cast<size_t>(list.namesAreaSize), 0);
        file.Read(list.namesArea.data(), list.namesAreaSize);
        uint8_t number[2] = {};
        file.Read(number, 2);
        list.listNumber = static_cast<int16_t>(number[0] | number[1] << 8);
    }
    list.path = AbsolutePath(path);
    return list;
}

void WriteListNumber(const std::string& path, int32_t namesAreaSize, int32_t value)
{
    if (namesAreaSize < 0)
        return;
    TFileStream file(path, fmOpenWrite | fmShareExclusive);
    const uint8_t number[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    file.Seek(namesAreaSize, soFromBeginning);
    file.Write(number, 2);
}

} // namespace kt63
