#include "patchapply.h"

#include "dataimage.h"
#include "helddatafile.h"
#include "recordfields.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace kt63 {

namespace {

const Column& ColumnOf(const FieldChange& change)
{
    return Table(change.table).columns[static_cast<size_t>(change.column)];
}

int32_t OffsetOf(const FieldChange& change)
{
    return RowOffset(change.table, change.key) + ColumnOf(change).offset;
}

std::string Prefix(const FieldChange& change)
{
    return (change.source.empty() ? std::string() : change.source + ": ") + DescribeField(change);
}

std::string RangeText(const Column& column)
{
    return std::to_string(LowestValue(column)) + " to " + std::to_string(HighestValue(column));
}

// The stored value is a bit pattern: Conversion::Level is not wanted here, since the value
// already is the stored byte.
Conversion StoredConversion(const Column& column)
{
    return column.isSigned() ? Conversion::Signed32 : Conversion::Unsigned;
}

using CellKey = std::tuple<TableId, int32_t, int32_t, int32_t>;

CellKey CellOf(const FieldChange& change)
{
    return {change.table, change.key.first, change.key.second, change.column};
}

FieldWrite WriteOf(const FieldChange& change)
{
    const Column& column = ColumnOf(change);
    FieldWrite write{{OffsetOf(change), column.width, true}, {}};
    EncodeField(StoredConversion(column), column.width, static_cast<int32_t>(change.newValue),
                write.bytes.data());
    return write;
}

} // namespace

std::vector<std::string> CheckChanges(const std::vector<FieldChange>& changes,
                                      const DataImage& image)
{
    std::vector<std::string> problems;
    std::map<CellKey, const FieldChange*> seen;
    for (const FieldChange& change : changes) {
        const Column& column = ColumnOf(change);
        if (change.newValue < LowestValue(column) || change.newValue > HighestValue(column))
            problems.push_back(Prefix(change) + ": " + std::to_string(change.newValue) +
                               " does not fit " + std::to_string(column.width) + " byte" +
                               (column.width > 1 ? "s" : "") + " (" + RangeText(column) + ")");
        const int64_t stored = image.Value(change.table, change.key, column);
        if (stored != change.oldValue)
            problems.push_back(Prefix(change) + ": conflict: the patch expects " +
                               std::to_string(change.oldValue) + ", the file holds " +
                               std::to_string(stored));
        const auto [earlier, isNew] = seen.try_emplace(CellOf(change), &change);
        if (!isNew)
            problems.push_back(Prefix(change) + ": changed a second time (first in " +
                               earlier->second->source + ")");
    }
    return problems;
}

std::vector<FieldChange> EffectiveChanges(const std::vector<FieldChange>& changes)
{
    std::vector<FieldChange> effective;
    for (const FieldChange& change : changes)
        if (change.newValue != change.oldValue)
            effective.push_back(change);
    return effective;
}

std::vector<FieldChange> MergeAgreeing(const std::vector<FieldChange>& changes,
                                       std::vector<std::string>& problems)
{
    std::vector<FieldChange> merged;
    std::map<CellKey, size_t> first;
    for (const FieldChange& change : changes) {
        const auto [earlier, isNew] = first.try_emplace(CellOf(change), merged.size());
        if (isNew) {
            merged.push_back(change);
            continue;
        }
        const FieldChange& kept = merged[earlier->second];
        if (kept.newValue != change.newValue)
            problems.push_back(Prefix(change) + ": " + std::to_string(change.newValue) + " where " +
                               kept.source + " has " + std::to_string(kept.newValue));
    }
    return merged;
}

DataImage WithChanges(const DataImage& image, const std::vector<FieldChange>& changes)
{
    std::vector<uint8_t> bytes = image.bytes();
    for (const FieldChange& change : changes) {
        const FieldWrite write = WriteOf(change);
        std::copy_n(write.bytes.begin(), write.place.width, bytes.begin() + write.place.offset);
    }
    return DataImage(std::move(bytes));
}

std::vector<std::string> WriteChanges(HeldDataFile& file, const std::vector<FieldChange>& changes,
                                      const ChangeSafeguards& safeguards)
{
    std::vector<FieldWrite> writes;
    for (const FieldChange& change : changes)
        writes.push_back(WriteOf(change));
    const ReadBack readBack = file.WriteAndReadBack(TableSpans(), writes, safeguards);
    std::vector<std::string> problems;
    for (const ReadBack::Mismatch& mismatch : readBack.mismatches) {
        const FieldChange& change = changes[mismatch.index];
        const Column& column = ColumnOf(change);
        const int64_t found =
            DecodeField(StoredConversion(column), column.width, mismatch.found.data());
        problems.push_back(Prefix(change) + ": reads back as " + std::to_string(found) +
                           " after writing " + std::to_string(change.newValue));
    }
    if (!problems.empty())
        problems.push_back(readBack.undo == Undo::MaybePartlyWritten
                               ? "putting the old values back failed too: the file may be "
                                 "partly written"
                               : "every field written was put back to its old value");
    return problems;
}

} // namespace kt63
