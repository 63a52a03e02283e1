#include "namelistfile.h"

#include "exception.h"
#include "tfilestream.h"
#include "universalpath.h"

#include <climits>
#include <system_error>

namespace kt63 {

namespace {

// Reads `count` bytes, all of them or an error naming the file.
void ReadWhole(TFileStream& file, uint8_t* bytes, int32_t count)
{
    const int32_t got = file.Read(bytes, count);
    if (got != count)
        throw EReadError(file.FileName(),
                         file.LastError() != 0 ? file.LastErrorText() : ShortRead(got, count));
}

} // namespace

NameListFile ReadNameListFile(const std::string& path)
{
    TFileStream file(path, fmOpenRead | fmShareExclusive);
    const StreamStatus status = file.CurrentStatus();
    if (status.size < 0)
        throw EReadError(path, status.reason);
    if (status.size > INT32_MAX)
        throw EReadError(path, std::make_error_code(std::errc::file_too_large).message());
    NameListFile list;
    list.namesAreaSize = static_cast<int32_t>(status.size) - 2;
    list.identity = status.identity;
    if (list.namesAreaSize >= 0) {
        list.namesArea.assign(static_cast<size_t>(list.namesAreaSize), 0);
        ReadWhole(file, list.namesArea.data(), list.namesAreaSize);
        uint8_t number[2] = {};
        ReadWhole(file, number, 2);
        list.listNumber = static_cast<int16_t>(number[0] | number[1] << 8);
    }
    list.path = UniversalPath(path);
    return list;
}

void WriteListNumber(const std::string& path, int32_t namesAreaSize, const FileIdentity& identity,
                     int32_t value)
{
    using Change = EFChangedError::Change;
    if (namesAreaSize < 0)
        return;
    TFileStream file(path, fmOpenWrite | fmShareExclusive);
    const StreamStatus status = file.CurrentStatus();
    if (status.size < 0)
        throw EFCheckError(path, status.reason);
    if (status.identity != identity)
        throw EFChangedError(Change::Replaced, path);
    if (status.size != namesAreaSize + int64_t{2})
        throw EFChangedError(status.size < namesAreaSize + 2 ? Change::CutShort : Change::Resized,
                             path);
    if (file.Seek(namesAreaSize, soFromBeginning) != namesAreaSize)
        throw EWriteError(
            path, SeekFailure(namesAreaSize, file.LastError() != 0 ? file.LastErrorText() : ""),
            Undo::NothingWritten);
    // The file is open for writing only, so the old bytes cannot be kept to put back: a failure
    // after the first byte says that the number may be partly written.
    const uint8_t number[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    const int32_t written = file.Write(number, 2);
    if (written != 2 || !file.Sync())
        throw EWriteError(path, file.LastErrorText(),
                          written == 0 ? Undo::NothingWritten : Undo::MaybePartlyWritten);
}

} // namespace kt63
