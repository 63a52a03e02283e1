#include "clitestfiles.h"
#include "csvpatch.h"
#include "csvrows.h"
#include "dataimage.h"
#include "jsonpatchreader.h"
#include "tablefileerror.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kt63 {
namespace {

// The text in pieces of `size` bytes, as a patch file gives it in pieces of its own.
NextPiece InPieces(const std::string& text, size_t size)
{
    return [&text, size, at = size_t{0}]() mutable {
        const std::string_view piece = std::string_view(text).substr(at, size);
        at += piece.size();
        return piece;
    };
}

// Each change as "source: weapon 17 Speed 12 -> 15", then each problem.
std::vector<std::string> Lines(const Patch& patch)
{
    std::vector<std::string> lines;
    for (const FieldChange& change : patch.changes)
        lines.push_back(change.source.Text() + ": " + DescribeChange(change));
    lines.insert(lines.end(), patch.problems.begin(), patch.problems.end());
    return lines;
}

// A cut between any two bytes (inside a number, a key, an escape, a byte order mark, a quoted
// cell, a line end) reads as the whole text does.
class Pieces : public ::testing::TestWithParam<size_t>
{
};

TEST_P(Pieces, JsonPatchReadsTheSameInAnyPieces)
{
    const std::string text =
        R"({"strayBytes": [{"first": 1, "last": 2}], "changes": [
            {"table": "weapons", "Weapon": 17, "field": "Speed", "old": 12, "new": 15},
            [{"table": "weapons"}],
            {"note": {"table": "slots", "old": [1, {"new": 2}]}, "table": "slots", "Weapon": 5,
             "Slot": 3, "field": "Ammunition[2]", "old": 7, "new": 9},
            {"table": "weap\u006fns", "Weapon": 2, "field": "Fuel", "old": 500, "new": -4660},
            {"table": ["weapons"], "Weapon": 2, "field": "Fuel", "old": 1, "new": 2},
            {"table": "weapons", "Weapon": 2, "field": "Fuel", "old": 1.5, "new": 2},
            {"table": "armaments", "Armament": 4, "Tab": 2, "field": "AttackAir", "old": 30,
             "new": 31, "old": 30}]})";
    EXPECT_EQ(Lines(ParseJsonPieces(InPieces(text, GetParam()), "m.json")),
              (std::vector<std::string>{
                  "m.json change 1: weapon 17 Speed 12 -> 15",
                  "m.json change 3: weapon 5 slot 3 Ammunition[2] 7 -> 9",
                  "m.json change 4: weapon 2 Fuel 500 -> -4660", "m.json change 2: not an object",
                  "m.json change 5: \"table\" must be \"weapons\", \"slots\" or \"armaments\"",
                  "m.json change 6: weapon 2 Fuel: \"old\" is missing or not a whole number",
                  "m.json change 7: \"old\" given twice"}));
}

TEST_P(Pieces, CsvRowsReadTheSameInAnyPieces)
{
    const std::string text = "\xEF\xBB\xBFWeapon,Name,Speed\r\n17,\"a,\"\"b\"\"\r\nc\",15\n\n"
                             "5,x,300\r\n";
    std::vector<CsvRow> rows;
    ParseCsvPieces(InPieces(text, GetParam()), "w.csv",
                   [&rows](const CsvRow& row) { rows.push_back(row); });
    EXPECT_EQ(rows,
              (std::vector<CsvRow>{
                  {"Weapon", "Name", "Speed"}, {"17", "a,\"b\"\r\nc", "15"}, {"5", "x", "300"}}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, Pieces, ::testing::Values(1, 2, 3, 5, 64, 1 << 20));

// What stops a patch as a whole names it: the text is no patch, or says one thing twice.
TEST(JsonPatchText, WithoutOneChangesListIsAnErrorNamingIt)
{
    for (const auto& [text, message] :
         {std::pair{"", "m.json is not JSON: "},
          std::pair{"{\"changes\": [] ", "m.json is not JSON: "},
          std::pair{"{\"changes\": {}}", "m.json holds no \"changes\" list"},
          std::pair{"{\"strayBytes\": []}", "m.json holds no \"changes\" list"},
          std::pair{"\"changes\"", "m.json holds no \"changes\" list"},
          std::pair{"{\"strayBytes\": [], \"changes\": [], \"strayBytes\": []}",
                    "m.json: \"strayBytes\" given twice"}}) {
        const std::string whole = text;
        try {
            ParseJsonPieces(InPieces(whole, 4), "m.json");
            ADD_FAILURE() << text << " was taken";
        } catch (const ETableFileError& error) {
            EXPECT_EQ(error.message().rfind(message, 0), 0u) << error.message();
        }
    }
}

// A CSV text that breaks off inside quotes names the row where it broke.
TEST(CsvText, UnclosedQuoteNamesItsRow)
{
    const std::string text = "Weapon,Speed\r\n17,1\r\n18,\"2\r\n";
    try {
        ParseCsvPieces(InPieces(text, 3), "w.csv", [](const CsvRow&) {});
        ADD_FAILURE() << "the text was taken";
    } catch (const ETableFileError& error) {
        EXPECT_EQ(error.message().rfind("w.csv is not CSV: ", 0), 0u) << error.message();
        EXPECT_NE(error.message().find(" in row 3"), std::string::npos) << error.message();
    }
}

// A header that names no table stops the patch, even with rows after it that would read.
TEST(CsvPatchText, HeaderOfNoTableIsAnError)
{
    const DataImage image(test::RandomBytes(test::DataFileSize, 2));
    EXPECT_THROW(ParseCsvPatch("Speed,Weapon\r\n15,17\r\n", "w.csv", image), ETableFileError);
    EXPECT_THROW(ParseCsvPatch("", "w.csv", image), ETableFileError);
}

} // namespace
} // namespace kt63
