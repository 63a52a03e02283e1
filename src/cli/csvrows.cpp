#include "csvrows.h"

#include "patchfile.h"
#include "tablefileerror.h"

#include <algorithm>
#include <csv.h>
#include <exception>

namespace kt63 {

namespace {

// The row being read, and what became of the rows before it. libcsv is C: nothing may be
// thrown through it, so what the handler throws waits here until the parser has returned.
struct RowState
{
    const CsvRowHandler& onRow;
    CsvRow row;
    size_t rowsEnded = 0;
    std::exception_ptr failure;
};

void EndField(void* text, size_t length, void* data)
{
    auto* state = static_cast<RowState*>(data);
    state->row.emplace_back(static_cast<const char*>(text), length);
}

void EndRow(int, void* data)
{
    auto* state = static_cast<RowState*>(data);
    ++state->rowsEnded;
    if (!state->failure) {
        try {
            state->onRow(state->row);
        } catch (...) {
            state->failure = std::current_exception();
        }
    }
    state->row.clear();
}

// libcsv frees its buffer only when asked; this keeps that to one place.
class Parser
{
public:
    Parser() { csv_init(&mParser, CSV_STRICT | CSV_STRICT_FINI); }
    ~Parser() { csv_free(&mParser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool Parse(std::string_view text, RowState& state)
    {
        return csv_parse(&mParser, text.data(), text.size(), EndField, EndRow, &state) ==
               text.size();
    }
    bool Finish(RowState& state) { return csv_fini(&mParser, EndField, EndRow, &state) == 0; }
    const char* Error() { return csv_strerror(csv_error(&mParser)); }

private:
    csv_parser mParser{};
};

// The first three bytes of the text, from as many pieces as they take, in `head`; what is left
// of the last of those pieces in `rest`.
void TakeHead(const NextPiece& next, std::string& head, std::string_view& rest)
{
    while (head.size() < 3) {
        rest = next();
        if (rest.empty())
            return;
        const size_t take = std::min(3 - head.size(), rest.size());
        head.append(rest.substr(0, take));
        rest.remove_prefix(take);
    }
}

} // namespace

void ParseCsvPieces(const NextPiece& next, const std::string& name, const CsvRowHandler& onRow)
{
    RowState state{onRow, {}, 0, nullptr};
    Parser parser;
    std::string head;
    std::string_view rest;
    TakeHead(next, head, rest);
    // Spreadsheets save UTF-8 text with a byte order mark in front of the header.
    if (head == "\xEF\xBB\xBF")
        head.clear();
    bool parsed = parser.Parse(head, state) && parser.Parse(rest, state);
    for (std::string_view piece = next(); parsed && !state.failure && !piece.empty();
         piece = next())
        parsed = parser.Parse(piece, state);
    parsed = parsed && parser.Finish(state);
    if (state.failure)
        std::rethrow_exception(state.failure);
    if (!parsed)
        throw ETableFileError(name + " is not CSV: " + parser.Error() + " in row " +
                              std::to_string(state.rowsEnded + 1));
}

CsvTable ReadCsvFile(const std::string& path)
{
    PatchFileReader file(path);
    CsvTable rows;
    ParseCsvPieces([&file] { return file.Next(); }, path,
                   [&rows](const CsvRow& row) { rows.push_back(row); });
    return rows;
}

} // namespace kt63
