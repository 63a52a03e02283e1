#include "namelistfile.h"

#include "exception.h"
#include "tfilestream.h"

namespace kt63 {

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
    // The file is open for writing only, so the old bytes cannot be kept to put back: a failure
    // after the first byte says that the number may be partly written.
    const int32_t written = file.Write(number, 2);
    if (written != 2 || !file.Sync())
        throw EWriteError(path, file.LastError(), written == 0);
}

} // namespace kt63
