#include "tablediff.h"

#include "dataimage.h"
#include "datalayout.h"

#include <algorithm>

namespace kt63 {

namespace {

template <class Visit> void ForEachCell(Visit visit)
{
    for (TableId id : {TableId::Weapons, TableId::Slots, TableId::Armaments}) {
        const TableLayout& table = Table(id);
        for (int32_t row = 0; row < table.rowCount; ++row)
            for (size_t column = 0; column < table.columns.size(); ++column)
                visit(table, KeyOfRow(id, row), static_cast<int32_t>(column));
    }
}

// The bytes of a data file that some field of some row stores, at every address.
const std::vector<bool>& OwnedBytes()
{
    static const std::vector<bool> owned = [] {
        std::vector<bool> bytes(DataFileMinimumSize, false);
        ForEachCell([&bytes](const TableLayout& table, const RowKey& key, int32_t index) {
            const Column& column = table.columns[static_cast<size_t>(index)];
            const int32_t first = RowOffset(table.id, key) + column.offset;
            std::fill_n(bytes.begin() + first, column.width, true);
        });
        return bytes;
    }();
    return owned;
}

bool IsStray(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t at)
{
    if (at < DataFileMinimumSize && OwnedBytes()[at])
        return false;
    return at >= a.size() || at >= b.size() || a[at] != b[at];
}

std::vector<ByteRange> StrayBytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    std::vector<ByteRange> ranges;
    const size_t end = std::max(a.size(), b.size());
    for (size_t at = 0; at < end; ++at) {
        if (!IsStray(a, b, at))
            continue;
        const auto offset = static_cast<int64_t>(at);
        if (!ranges.empty() && ranges.back().last == offset - 1)
            ranges.back().last = offset;
        else
            ranges.push_back({offset, offset});
    }
    return ranges;
}

} // namespace

TableDiff DiffImages(const DataImage& a, const DataImage& b)
{
    TableDiff diff;
    ForEachCell([&](const TableLayout& table, const RowKey& key, int32_t index) {
        const Column& column = table.columns[static_cast<size_t>(index)];
        const int64_t before = a.Value(table.id, key, column);
        const int64_t after = b.Value(table.id, key, column);
        if (before != after)
            diff.changes.push_back({table.id, key, index, before, after, {}});
    });
    diff.strayBytes = StrayBytes(a.bytes(), b.bytes());
    return diff;
}

std::string FormatDiff(const TableDiff& diff)
{
    std::string text;
    for (const FieldChange& change : diff.changes)
        text += DescribeChange(change) + "\n";
    for (const ByteRange& range : diff.strayBytes)
        if (range.first == range.last)
            text += "byte " + std::to_string(range.first) + " differs outside the fields\n";
        else
            text += "bytes " + std::to_string(range.first) + " to " + std::to_string(range.last) +
                    " differ outside the fields\n";
    return text;
}

} // namespace kt63
