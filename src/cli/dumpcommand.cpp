#include "commands.h"

#include "datafileopen.h"
#include "dataimage.h"
#include "tabledump.h"
#include "tablefileerror.h"
#include "utf8path.h"
#include "weaponnames.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace kt63 {

namespace {

std::vector<TableId> ChosenTables(const std::string& name)
{
    if (name.empty())
        return {TableId::Weapons, TableId::Slots, TableId::Armaments};
    const TableLayout* table = FindTable(name);
    if (table == nullptr)
        throw ETableFileError("no table \"" + name + "\"");
    return {table->id};
}

template <class Write> void WriteFile(const std::string& path, Write write)
{
    std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (file)
        write(file);
    if (!file || !file.flush())
        throw ETableFileError("cannot write " + path);
}

// Runs `write` on the file `path`, or on `console` when the path is empty.
template <class Write> void WriteOut(const std::string& path, std::ostream& console, Write write)
{
    if (path.empty())
        write(console);
    else
        WriteFile(path, write);
}

void DumpCsvFolder(const std::string& folder, const DataImage& image, const WeaponNames& names)
{
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(folder), error);
    for (TableId id : ChosenTables({})) {
        const TableLayout& table = Table(id);
        const std::string path = Utf8FromPath(PathFromUtf8(folder) / (table.name + ".csv"));
        WriteFile(path, [&](std::ostream& out) { WriteCsvTable(out, table, image, names); });
    }
}

} // namespace

int RunDump(const DumpOptions& options, std::ostream& console)
{
    const std::vector<TableId> tables = ChosenTables(options.table);
    const std::unique_ptr<HeldDataFile> file = OpenDataFile(options.data, DataUse::Read, std::cerr);
    const DataImage image = ReadTables(*file);
    const WeaponNames names =
        options.names.empty() ? WeaponNames() : ReadWeaponNames(options.names);
    if (options.format == "json")
        WriteOut(options.out, console,
                 [&](std::ostream& out) { WriteJsonTables(out, tables, image, names); });
    else if (!options.table.empty())
        WriteOut(options.out, console,
                 [&](std::ostream& out) { WriteCsvTable(out, Table(tables[0]), image, names); });
    else
        DumpCsvFolder(options.out.empty() ? "." : options.out, image, names);
    return ExitSame;
}

} // namespace kt63
