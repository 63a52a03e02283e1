#include "fieldchange.h"

namespace kt63 {

namespace {

std::string DescribeRow(TableId table, const RowKey& key)
{
    const std::string first = std::to_string(key.first);
    const std::string second = std::to_string(key.second);
    switch (table) {
    case TableId::Weapons:
        return "weapon " + first;
    case TableId::Slots:
        return "weapon " + first + " slot " + second;
    case TableId::Armaments:
        break;
    }
    return "armament " + first + "/" + second;
}

} // namespace

std::string DescribeField(const FieldChange& change)
{
    const Column& column = Table(change.table).columns[static_cast<size_t>(change.column)];
    return DescribeRow(change.table, change.key) + " " + column.name;
}

std::string DescribeChange(const FieldChange& change)
{
    return DescribeField(change) + " " + std::to_string(change.oldValue) + " -> " +
           std::to_string(change.newValue);
}

} // namespace kt63
