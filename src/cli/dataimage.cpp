#include "dataimage.h"

#include "datalayout.h"
#include "tablefileerror.h"

namespace kt63 {

namespace {

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

std::array<ByteSpan, 2> TableSpans()
{
    const int32_t armamentsEnd =
        ArmamentEntryOffset(ArmamentGroupCount - 1, ArmamentTabCount - 1) + ArmamentEntrySize;
    return {{{ArmamentTableBase, armamentsEnd - ArmamentTableBase},
             {WeaponRecordOffset(1), DataFileMinimumSize - WeaponRecordOffset(1)}}};
}

DataImage ReadTables(HeldDataFile& file)
{
    std::vector<uint8_t> bytes(DataFileMinimumSize, 0);
    for (const ByteSpan& span : TableSpans())
        file.Read(span, bytes.data() + span.offset);
    return DataImage(std::move(bytes));
}

DataImage ReadWholeFile(HeldDataFile& file)
{
    // The image is read at the tables' offsets, so it must reach their end.
    if (file.Length() < DataFileMinimumSize)
        throw EFTooShortError(file.FileName());
    if (file.Length() > WholeFileLimit)
        throw ETableFileError(file.FileName() + " has " + std::to_string(file.Length()) +
                              " bytes, too many to compare (at most " +
                              std::to_string(WholeFileLimit) + ")");
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Length()), 0);
    file.Read({0, static_cast<int32_t>(bytes.size())}, bytes.data());
    return DataImage(std::move(bytes));
}

} // namespace kt63
