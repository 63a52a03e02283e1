#include "csvrows.h"

#include "patchfile.h"
#include "tablefileerror.h"

#include <csv.h>

namespace kt63 {

namespace {

void EndField(void* text, size_t length, void* data)
{
    auto* rows = static_cast<CsvTable*>(data);
    rows->back().emplace_back(static_cast<const char*>(text), length);
}

void EndRow(int, void* data)
{
    static_cast<CsvTable*>(data)->emplace_back();
}

// libcsv frees its buffer only when asked; this keeps that to one place.
class Parser
{
public:
    Parser() { csv_init(&mParser, CSV_STRICT | CSV_STRICT_FINI); }
    ~Parser() { csv_free(&mParser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool Parse(const std::string& text, CsvTable& rows)
    {
        return csv_parse(&mParser, text.data(), text.size(), EndField, EndRow, &rows) ==
                   text.size() &&
               csv_fini(&mParser, EndField, EndRow, &rows) == 0;
    }
    const char* Error() { return csv_strerror(csv_error(&mParser)); }

private:
    csv_parser mParser{};
};

} // namespace

CsvTable ReadCsvFile(const std::string& path)
{
    return ParseCsvText(ReadPatchFile(path), path);
}

CsvTable ParseCsvText(std::string text, const std::string& name)
{
    // Spreadsheets save UTF-8 text with a byte order mark in front of the header.
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    CsvTable rows(1);
    Parser parser;
    if (!parser.Parse(text, rows))
        throw ETableFileError(name + " is not CSV: " + parser.Error() + " in row " +
                              std::to_string(rows.size()));
    rows.pop_back(); // the row the last line end opened
    return rows;
}

} // namespace kt63
