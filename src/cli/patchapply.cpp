#include "patchapply.h"

#include "dataimage.h"
#include "recordfields.h"
#include "tstream.h"
#include "writejournal.h"

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

// Every field whose stored value is not what the change wrote.
std::vector<std::string> FieldsNotReadBack(TStream& file, const std::vector<FieldChange>& changes)
{
    std::vector<std::string> problems;
    for (const FieldChange& change : changes) {
        const Column& column = ColumnOf(change);
        uint8_t bytes[4] = {};
        file.Seek(OffsetOf(change), soFromBeginning);
        const int32_t read = file.Read(bytes, column.width);
        const int64_t value = DecodeField(StoredConversion(column), column.width, bytes);
        if (read != column.width || value != change.newValue)
            problems.push_back(Prefix(change) + ": reads back as " + std::to_string(value) +
                               " after writing " + std::to_string(change.newValue));
    }
    return problems;
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

std::vector<std::string> WriteChanges(TStream& file, const std::vector<FieldChange>& changes)
{
    WriteJournal journal(file);
    for (const FieldChange& change : changes) {
        const Column& column = ColumnOf(change);
        uint8_t bytes[4] = {};
        uint8_t before[4] = {};
        const Conversion conversion = StoredConversion(column);
        EncodeField(conversion, column.width, static_cast<int32_t>(change.newValue), bytes);
        EncodeField(conversion, column.width, static_cast<int32_t>(change.oldValue), before);
        file.Seek(OffsetOf(change), soFromBeginning);
        journal.Write(OffsetOf(change), bytes, before, column.width);
    }
    journal.Commit();
    std::vector<std::string> problems = FieldsNotReadBack(file, changes);
    if (!problems.empty())
        problems.push_back(journal.RollBack()
                               ? "every field written was put back to its old value"
                               : "putting the old values back failed too: the file may be "
                                 "partly written");
    return problems;
}

} // namespace kt63
