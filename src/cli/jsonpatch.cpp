#include "jsonpatch.h"

#include "patchfile.h"
#include "tablediff.h"
#include "tablefileerror.h"

#include <climits>
#include <nlohmann/json.hpp>

namespace kt63 {

namespace {

using Json = nlohmann::ordered_json;

Json ChangeToJson(const FieldChange& change)
{
    const TableLayout& table = Table(change.table);
    Json entry;
    entry["table"] = table.name;
    entry[table.keyNames[0]] = change.key.first;
    if (table.keyNames.size() > 1)
        entry[table.keyNames[1]] = change.key.second;
    entry["field"] = table.columns[static_cast<size_t>(change.column)].name;
    entry["old"] = change.oldValue;
    entry["new"] = change.newValue;
    return entry;
}

// Reads member `name` of `entry` as a whole number, or records why it cannot.
bool ReadNumber(const Json& entry, const std::string& name, int64_t& value, std::string& problem)
{
    const auto found = entry.find(name);
    if (found == entry.end() || !found->is_number_integer()) {
        problem = "\"" + name + "\" is missing or not a whole number";
        return false;
    }
    // Above the signed range the number arrives unsigned; taken as signed it would wrap round.
    if (found->is_number_unsigned() && found->get<uint64_t>() > INT64_MAX) {
        problem = "\"" + name + "\" " + std::to_string(found->get<uint64_t>()) +
                  " is beyond the 64-bit range";
        return false;
    }
    value = found->get<int64_t>();
    return true;
}

// Reads the table, row key and field of one change; gives the problem, or an empty text.
std::string ReadChange(const Json& entry, FieldChange& change)
{
    if (!entry.is_object())
        return "not an object";
    const TableLayout* table = entry.contains("table") && entry["table"].is_string()
                                   ? FindTable(entry["table"].get<std::string>())
                                   : nullptr;
    if (table == nullptr)
        return "\"table\" must be \"weapons\", \"slots\" or \"armaments\"";
    change.table = table->id;
    int64_t keys[2] = {0, 0};
    std::string problem;
    for (size_t i = 0; i < table->keyNames.size(); ++i)
        if (!ReadNumber(entry, table->keyNames[i], keys[i], problem))
            return problem;
    change.key = {static_cast<int32_t>(keys[0]), static_cast<int32_t>(keys[1])};
    if (keys[0] != change.key.first || keys[1] != change.key.second ||
        !KeyIsValid(table->id, change.key))
        return "no row " + std::to_string(keys[0]) + "/" + std::to_string(keys[1]) + " in " +
               table->name;
    const std::string field = entry.contains("field") && entry["field"].is_string()
                                  ? entry["field"].get<std::string>()
                                  : std::string();
    change.column = FindColumn(*table, field);
    if (change.column < 0)
        return "unknown field \"" + field + "\" in " + table->name;
    if (!ReadNumber(entry, "old", change.oldValue, problem) ||
        !ReadNumber(entry, "new", change.newValue, problem))
        return DescribeField(change) + ": " + problem;
    return {};
}

} // namespace

std::string DiffToJson(const TableDiff& diff)
{
    Json document;
    document["changes"] = Json::array();
    for (const FieldChange& change : diff.changes)
        document["changes"].push_back(ChangeToJson(change));
    document["strayBytes"] = Json::array();
    for (const ByteRange& range : diff.strayBytes)
        document["strayBytes"].push_back({{"first", range.first}, {"last", range.last}});
    return document.dump(2) + "\n";
}

Patch ReadJsonPatch(const std::string& path)
{
    return ParseJsonPatch(ReadPatchFile(path), path);
}

Patch ParseJsonPatch(const std::string& text, const std::string& name)
{
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::exception& error) {
        // Besides syntax errors, a number too large even for a double ("1e999") ends up here.
        throw ETableFileError(name + " is not JSON: " + error.what());
    }
    if (!document.is_object() || !document.contains("changes") || !document["changes"].is_array())
        throw ETableFileError(name + " holds no \"changes\" list");
    Patch patch;
    const Json& changes = document["changes"];
    for (size_t i = 0; i < changes.size(); ++i) {
        FieldChange change{
            TableId::Weapons, {0, 0}, 0, 0, 0, name + " change " + std::to_string(i + 1)};
        const std::string problem = ReadChange(changes[i], change);
        if (problem.empty())
            patch.changes.push_back(std::move(change));
        else
            patch.problems.push_back(change.source + ": " + problem);
    }
    return patch;
}

} // namespace kt63
