#include "patchapply.h"

#include "dataimage.h"
#include "helddatafile.h"
#include "recordfields.h"

#include <algorithm>

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
    return (change.source.empty() ? std::string() : change.source.Text() + ": ") +
           DescribeField(change);
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

// The field as one number that orders changes by table, row and column.
uint64_t CellCode(const FieldChange& change)
{
    return uint64_t{static_cast<uint8_t>(change.table)} << 48 |
           uint64_t{static_cast<uint16_t>(change.key.first)} << 32 |
           uint64_t{static_cast<uint16_t>(change.key.second)} << 16 |
           static_cast<uint16_t>(change.column);
}

// For each change, the index of the first change of the same field: itself when none came
// before. Sorting the fields' codes with the changes' indices keeps this to a few bytes a
// change, where a map of the fields would take a node each; each code is found once, not at
// every comparison.
std::vector<uint32_t> FirstOfEachField(const std::vector<FieldChange>& changes)
{
    std::vector<std::pair<uint64_t, uint32_t>> order(changes.size());
    for (uint32_t i = 0; i < changes.size(); ++i)
        order[i] = {CellCode(changes[i]), i};
    std::sort(order.begin(), order.end());
    std::vector<uint32_t> first(changes.size());
    for (size_t i = 0; i < order.size(); ++i)
        first[order[i].second] = i > 0 && order[i].first == order[i - 1].first
                                     ? first[order[i - 1].second]
                                     : order[i].second;
    return first;
}

FieldWrite WriteOf(const FieldChange& change)
{
    const Column& column = ColumnOf(change);
    FieldWrite write{{OffsetOf(change), column.width, true}, {}};
    EncodeField(StoredConversion(column), column.width, static_cast<int32_t>(change.newValue),
                write.bytes.data());
    return write;
}

// The writes in the order of their offsets, so that neighbouring fields join into one write,
// and for each the change it came from. Each offset is found once and sorted with its index in
// one number.
std::vector<uint32_t> OrderOfOffsets(const std::vector<FieldChange>& changes)
{
    std::vector<uint64_t> keys(changes.size());
    for (uint32_t i = 0; i < changes.size(); ++i)
        keys[i] = uint64_t{static_cast<uint32_t>(OffsetOf(changes[i]))} << 32 | i;
    std::sort(keys.begin(), keys.end());
    std::vector<uint32_t> order(changes.size());
    std::transform(keys.begin(), keys.end(), order.begin(),
                   [](uint64_t key) { return static_cast<uint32_t>(key); });
    return order;
}

} // namespace

std::vector<std::string> CheckChanges(const std::vector<FieldChange>& changes,
                                      const DataImage& image)
{
    std::vector<std::string> problems;
    const std::vector<uint32_t> first = FirstOfEachField(changes);
    for (size_t i = 0; i < changes.size(); ++i) {
        const FieldChange& change = changes[i];
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
        if (first[i] != i)
            problems.push_back(Prefix(change) + ": changed a second time (first in " +
                               changes[first[i]].source.Text() + ")");
    }
    return problems;
}

void KeepEffective(std::vector<FieldChange>& changes)
{
    std::erase_if(changes,
                  [](const FieldChange& change) { return change.newValue == change.oldValue; });
}

std::vector<FieldChange> MergeAgreeing(std::vector<FieldChange> changes,
                                       std::vector<std::string>& problems)
{
    const std::vector<uint32_t> first = FirstOfEachField(changes);
    for (size_t i = 0; i < changes.size(); ++i) {
        const FieldChange& kept = changes[first[i]];
        if (first[i] != i && kept.newValue != changes[i].newValue)
            problems.push_back(Prefix(changes[i]) + ": " + std::to_string(changes[i].newValue) +
                               " where " + kept.source.Text() + " has " +
                               std::to_string(kept.newValue));
    }
    size_t kept = 0;
    for (size_t i = 0; i < changes.size(); ++i)
        if (first[i] == i && kept++ != i)
            changes[kept - 1] = std::move(changes[i]);
    changes.resize(kept);
    return changes;
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
    const std::vector<uint32_t> order = OrderOfOffsets(changes);
    std::vector<FieldWrite> writes;
    writes.reserve(changes.size());
    for (uint32_t index : order)
        writes.push_back(WriteOf(changes[index]));
    const ReadBack readBack =
        file.WriteAndReadBack(TableSpans(), writes, safeguards, WriteRuns::Contiguous);
    std::vector<std::string> problems;
    for (const ReadBack::Mismatch& mismatch : readBack.mismatches) {
        const FieldChange& change = changes[order[mismatch.index]];
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
