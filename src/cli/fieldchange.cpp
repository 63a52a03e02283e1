#include "fieldchange.h"

#include <charconv>

namespace kt63 {

namespace {

void AppendNumber(std::string& text, int64_t number)
{
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    text.append(digits, end);
}

void AppendRow(std::string& text, TableId table, const RowKey& key)
{
    text += table == TableId::Armaments ? "armament " : "weapon ";
    AppendNumber(text, key.first);
    if (table == TableId::Weapons)
        return;
    text += table == TableId::Slots ? " slot " : "/";
    AppendNumber(text, key.second);
}

} // namespace

void AppendField(std::string& text, const FieldChange& change)
{
    AppendRow(text, change.table, change.key);
    text += ' ';
    text += Table(change.table).columns[static_cast<size_t>(change.column)].name;
}

void AppendChange(std::string& text, const FieldChange& change)
{
    AppendField(text, change);
    text += ' ';
    AppendNumber(text, change.oldValue);
    text += " -> ";
    AppendNumber(text, change.newValue);
}

std::string DescribeField(const FieldChange& change)
{
    std::string text;
    AppendField(text, change);
    return text;
}

std::string DescribeChange(const FieldChange& change)
{
    std::string text;
    AppendChange(text, change);
    return text;
}

} // namespace kt63
