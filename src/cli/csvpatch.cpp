#include "csvpatch.h"

#include "csvrows.h"
#include "dataimage.h"
#include "tablefileerror.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace kt63 {

namespace {

const TableLayout* TableOfHeader(const CsvRow& header)
{
    const auto starts = [&header](const std::string& first, const std::string& second) {
        return !header.empty() && header[0] == first &&
               (second.empty() || (header.size() > 1 && header[1] == second));
    };
    if (starts("Armament", "Tab"))
        return &Table(TableId::Armaments);
    if (starts("Weapon", "Slot"))
        return &Table(TableId::Slots);
    if (starts("Weapon", ""))
        return &Table(TableId::Weapons);
    return nullptr;
}

bool ParseWhole(const std::string& text, int64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty();
}

class CsvReader
{
public:
    CsvReader(const std::string& path, const DataImage& image, CsvCells cells)
        : mPath(path), mImage(image), mCells(cells),
          mLead(std::make_shared<const std::string>(path + " row "))
    {
    }

    // Row 1 is the header, the first row handed over.
    void Take(const CsvRow& row)
    {
        ++mRowNumber;
        if (mRowNumber == 1)
            ReadHeader(row);
        else
            ReadRow(row, mRowNumber);
    }

    Patch Finish()
    {
        if (mTable == nullptr)
            FailHeader();
        return std::move(mPatch);
    }

private:
    [[noreturn]] void FailHeader() const
    {
        throw ETableFileError(mPath + " row 1: the header must begin with \"Weapon\", "
                                      "\"Weapon,Slot\" or \"Armament,Tab\"");
    }

    std::string Where(int32_t row) const { return mPath + " row " + std::to_string(row); }

    // Maps each column of the file to a column of the table; -1 for keys and the name. A field
    // given twice would leave it open which value is meant.
    void ReadHeader(const CsvRow& header)
    {
        mTable = TableOfHeader(header);
        if (mTable == nullptr)
            FailHeader();
        for (size_t i = 0; i < header.size(); ++i) {
            const int32_t column =
                i < mTable->keyNames.size() ? -1 : FindColumn(*mTable, header[i]);
            if (column < 0 && i >= mTable->keyNames.size() &&
                !(header[i] == "Name" && mTable->id == TableId::Weapons))
                mPatch.problems.push_back(Where(1) + ": unknown column \"" + header[i] + "\"");
            if (column >= 0 &&
                std::find(mColumns.begin(), mColumns.end(), column) != mColumns.end())
                mPatch.problems.push_back(Where(1) + ": column \"" + header[i] + "\" twice");
            mColumns.push_back(column);
        }
    }

    // A row given twice would leave it open which of its values is meant.
    bool IsFirstOfItsRow(const RowKey& key, int32_t row)
    {
        const auto [first, isNew] = mRows.try_emplace(RowOfKey(mTable->id, key), row);
        if (!isNew)
            mPatch.problems.push_back(Where(row) + ": same row as row " +
                                      std::to_string(first->second));
        return isNew;
    }

    void ReadRow(const CsvRow& cells, int32_t row)
    {
        if (cells.size() != mColumns.size()) {
            mPatch.problems.push_back(Where(row) + ": " + std::to_string(cells.size()) +
                                      " cells where the header has " +
                                      std::to_string(mColumns.size()));
            return;
        }
        int64_t keys[2] = {0, 0};
        for (size_t i = 0; i < mTable->keyNames.size(); ++i)
            if (!ParseWhole(cells[i], keys[i])) {
                mPatch.problems.push_back(Where(row) + ": " + mTable->keyNames[i] + " \"" +
                                          cells[i] + "\" is not a whole number");
                return;
            }
        const RowKey key{static_cast<int32_t>(keys[0]), static_cast<int32_t>(keys[1])};
        if (key.first != keys[0] || key.second != keys[1] || !KeyIsValid(mTable->id, key)) {
            mPatch.problems.push_back(Where(row) + ": no such row in " + mTable->name);
            return;
        }
        if (!IsFirstOfItsRow(key, row))
            return;
        for (size_t i = mTable->keyNames.size(); i < cells.size(); ++i)
            if (mColumns[i] >= 0)
                ReadCell(cells[i], key, mColumns[i], row);
    }

    void ReadCell(const std::string& text, const RowKey& key, int32_t column, int32_t row)
    {
        FieldChange change{mTable->id, key, column, 0, 0, {mLead, static_cast<uint32_t>(row)}};
        change.oldValue =
            mImage.Value(mTable->id, key, mTable->columns[static_cast<size_t>(column)]);
        if (!ParseWhole(text, change.newValue))
            mPatch.problems.push_back(Where(row) + ": " + DescribeField(change) + " \"" + text +
                                      "\" is not a whole number");
        else if (mCells == CsvCells::Every || change.newValue != change.oldValue)
            mPatch.changes.push_back(std::move(change));
    }

    const std::string& mPath;
    const DataImage& mImage;
    CsvCells mCells;
    const TableLayout* mTable = nullptr;
    std::vector<int32_t> mColumns;
    std::shared_ptr<const std::string> mLead;
    int32_t mRowNumber = 0;
    std::map<int32_t, int32_t> mRows; // the file row that gave each table row
    Patch mPatch;
};

Patch ReadCsvPieces(const NextPiece& next, const std::string& name, const DataImage& image,
                    CsvCells cells)
{
    CsvReader reader(name, image, cells);
    ParseCsvPieces(next, name, [&reader](const CsvRow& row) { reader.Take(row); });
    return reader.Finish();
}

} // namespace

Patch ReadCsvPatch(const std::string& path, const DataImage& image, CsvCells cells)
{
    PatchFileReader file(path);
    return ReadCsvPieces([&file] { return file.Next(); }, path, image, cells);
}

Patch ParseCsvPatch(const std::string& text, const std::string& name, const DataImage& image,
                    CsvCells cells)
{
    return ReadCsvPieces(WholeText(text), name, image, cells);
}

} // namespace kt63
