#include "tablediff.h"

#include "dataimage.h"
#include "datalayout.h"

#include <algorithm>
#include <optional>

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

} // namespace

void DiffFields(const DataImage& a, const DataImage& b,
                const std::function<void(const FieldChange&)>& onChange)
{
    ForEachCell([&](const TableLayout& table, const RowKey& key, int32_t index) {
        const Column& column = table.columns[static_cast<size_t>(index)];
        const int64_t before = a.Value(table.id, key, column);
        const int64_t after = b.Value(table.id, key, column);
        if (before != after)
            onChange({table.id, key, index, before, after, {}});
    });
}

// A range is handed over once the byte after it is known not to extend it.
void DiffStrayBytes(const DataImage& a, const DataImage& b,
                    const std::function<void(const ByteRange&)>& onRange)
{
    const size_t end = std::max(a.bytes().size(), b.bytes().size());
    std::optional<ByteRange> open;
    for (size_t at = 0; at < end; ++at) {
        const auto offset = static_cast<int64_t>(at);
        if (IsStray(a.bytes(), b.bytes(), at)) {
            if (open && open->last == offset - 1)
                open->last = offset;
            else {
                if (open)
                    onRange(*open);
                open = ByteRange{offset, offset};
            }
        }
    }
    if (open)
        onRange(*open);
}

TableDiff DiffImages(const DataImage& a, const DataImage& b)
{
    TableDiff diff;
    DiffFields(a, b, [&diff](const FieldChange& change) { diff.changes.push_back(change); });
    DiffStrayBytes(a, b, [&diff](const ByteRange& range) { diff.strayBytes.push_back(range); });
    return diff;
}

std::string DescribeStrayBytes(const ByteRange& range)
{
    if (range.first == range.last)
        return "byte " + std::to_string(range.first) + " differs outside the fields\n";
    return "bytes " + std::to_string(range.first) + " to " + std::to_string(range.last) +
           " differ outside the fields\n";
}

std::string FormatDiff(const TableDiff& diff)
{
    std::string text;
    for (const FieldChange& change : diff.changes)
        text += DescribeChange(change) + "\n";
    for (const ByteRange& range : diff.strayBytes)
        text += DescribeStrayBytes(range);
    return text;
}

} // namespace kt63
