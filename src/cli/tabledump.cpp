#include "tabledump.h"

#include "dataimage.h"

#include <charconv>
#include <csv.h>
#include <nlohmann/json.hpp>
#include <ostream>

namespace kt63 {

namespace {

// The rows are written as they go, in pieces of about this size rather than a line at a time.
constexpr size_t FlushSize = 64 << 10;

bool HasNames(const TableLayout& table, const WeaponNames& names)
{
    return table.id == TableId::Weapons && !names.empty();
}

void AppendNumber(std::string& line, int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end);
}

// Names may hold commas and quotes; libcsv quotes the field and doubles its quotes.
void AppendQuoted(std::string& line, const std::string& text)
{
    std::string quoted(text.size() * 2 + 2, '\0');
    quoted.resize(csv_write(quoted.data(), quoted.size(), text.data(), text.size()));
    line += quoted;
}

std::string CsvHeader(const TableLayout& table, const WeaponNames& names)
{
    std::string line;
    for (const std::string& key : table.keyNames)
        line += key + ",";
    if (HasNames(table, names))
        line += "Name,";
    for (const Column& column : table.columns)
        line += column.name + ",";
    line.back() = '\r';
    return line + "\n";
}

// Every row of a table has the same keys in the same order; one object per table is made and
// only its values are overwritten, which spares building and freeing each row's keys.
class JsonRows
{
public:
    JsonRows(const TableLayout& table, const WeaponNames& names) : mTable(table), mNames(names)
    {
        for (const std::string& key : table.keyNames)
            mRow[key] = 0;
        if (HasNames(table, names))
            mRow["Name"] = "";
        for (const Column& column : table.columns)
            mRow[column.name] = 0;
    }

    const nlohmann::ordered_json& Row(int32_t index, const DataImage& image)
    {
        const RowKey key = KeyOfRow(mTable.id, index);
        auto value = mRow.begin();
        *value++ = key.first;
        if (mTable.keyNames.size() > 1)
            *value++ = key.second;
        if (HasNames(mTable, mNames))
            *value++ = mNames[static_cast<size_t>(key.first)];
        for (const Column& column : mTable.columns)
            *value++ = image.Value(mTable.id, key, column);
        return mRow;
    }

private:
    const TableLayout& mTable;
    const WeaponNames& mNames;
    nlohmann::ordered_json mRow;
};

} // namespace

void WriteCsvTable(std::ostream& out, const TableLayout& table, const DataImage& image,
                   const WeaponNames& names)
{
    std::string text = CsvHeader(table, names);
    for (int32_t row = 0; row < table.rowCount; ++row) {
        const RowKey key = KeyOfRow(table.id, row);
        AppendNumber(text, key.first);
        if (table.keyNames.size() > 1) {
            text += ',';
            AppendNumber(text, key.second);
        }
        if (HasNames(table, names)) {
            text += ',';
            AppendQuoted(text, names[static_cast<size_t>(key.first)]);
        }
        for (const Column& column : table.columns) {
            text += ',';
            AppendNumber(text, image.Value(table.id, key, column));
        }
        text += "\r\n";
        if (text.size() >= FlushSize) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

// Each row is its own small document, written as soon as it is made: one row per line reads
// well and keeps a dump of every table from building one large tree first.
void WriteJsonTables(std::ostream& out, const std::vector<TableId>& tables, const DataImage& image,
                     const WeaponNames& names)
{
    out << '{';
    for (TableId id : tables) {
        const TableLayout& table = Table(id);
        out << (id == tables.front() ? "\n" : ",\n") << nlohmann::json(table.name).dump() << ": [";
        JsonRows rows(table, names);
        for (int32_t index = 0; index < table.rowCount; ++index)
            out << (index == 0 ? "\n" : ",\n") << rows.Row(index, image).dump();
        out << "\n]";
    }
    out << "\n}\n";
}

} // namespace kt63
