#include "dataimage.h"

#include "datalayout.h"
#include "exception.h"
#include "tfilestream.h"

namespace kt63 {

namespace {

// Another program may cut the file short while it is read; values past what the read got would
// be made up, so a short read ends the command.
void ReadRegion(TStream& file, std::vector<uint8_t>& bytes, int32_t first, int32_t end)
{
    file.Seek(first, soFromBeginning);
    if (file.Read(bytes.data() + first, end - first) == end - first)
        return;
    if (file.LastError() != 0)
        throw EReadError(file.FileName(), file.LastError());
    throw EFChangedError(EFChangedError::Change::CutShort, file.FileName());
}

// The bytes as they are, little-endian, unsigned except for a 4-byte field.
int64_t StoredValue(const Column& column, const uint8_t* bytes)
{
    uint32_t pattern = 0;
    for (int32_t i = column.width - 1; i >= 0; --i)
        pattern = (pattern << 8) | bytes[i];
    if (column.isSigned())
        return static_cast<int32_t>(pattern);
    return pattern;
}

} // namespace

const uint8_t* DataImage::At(TableId table, const RowKey& key, const Column& column) const
{
    return mBytes.data() + RowOffset(table, key) + column.offset;
}

int64_t DataImage::Value(TableId table, const RowKey& key, const Column& column) const
{
    return StoredValue(column, At(table, key, column));
}

int64_t DataImage::ValueAfterSave(TableId table, const RowKey& key, const Column& column) const
{
    uint8_t saved[4] = {};
    BytesAfterSave(column.conversion, column.width, column.shown, At(table, key, column), saved);
    return StoredValue(column, saved);
}

std::unique_ptr<TFileStream> OpenForReading(const std::string& path)
{
    auto file = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
    if (file->Size() < DataFileMinimumSize)
        throw EFTooShortError(path);
    return file;
}

DataImage ReadTables(TStream& file)
{
    std::vector<uint8_t> bytes(DataFileMinimumSize, 0);
    ReadRegion(file, bytes, ArmamentTableBase,
               ArmamentEntryOffset(ArmamentGroupCount - 1, ArmamentTabCount - 1) +
                   ArmamentEntrySize);
    ReadRegion(file, bytes, WeaponRecordOffset(1), DataFileMinimumSize);
    return DataImage(std::move(bytes));
}

DataImage ReadWholeFile(TStream& file)
{
    const int32_t size = file.Size();
    if (size < DataFileMinimumSize)
        throw EFChangedError(EFChangedError::Change::CutShort, file.FileName());
    std::vector<uint8_t> bytes(static_cast<size_t>(size), 0);
    ReadRegion(file, bytes, 0, static_cast<int32_t>(bytes.size()));
    return DataImage(std::move(bytes));
}

} // namespace kt63
