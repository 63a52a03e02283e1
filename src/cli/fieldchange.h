#pragma once

#include "tablelayout.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kt63 {

// Where a patch stated a change: "edit.csv row 5", "mod.json change 3". The text before the
// number is shared by every change of the patch, so that a patch of every field of the file
// keeps a few bytes a change for it, not a text each.
class ChangeSource
{
public:
    ChangeSource() = default; // a change that no patch stated (a diff's)

    // `lead` is the text before the number, "edit.csv row ".
    ChangeSource(std::shared_ptr<const std::string> lead, uint32_t number)
        : mLead(std::move(lead)), mNumber(number)
    {
    }

    bool empty() const { return mLead == nullptr; }
    std::string Text() const { return empty() ? std::string() : *mLead + std::to_string(mNumber); }

    bool operator==(const ChangeSource& other) const { return Text() == other.Text(); }

private:
    std::shared_ptr<const std::string> mLead;
    uint32_t mNumber = 0;
};

// One field of one row whose stored value goes from `oldValue` to `newValue`.
struct FieldChange
{
    TableId table;
    RowKey key;
    int32_t column; // index into the table's columns
    int64_t oldValue;
    int64_t newValue;
    ChangeSource source;

    bool operator==(const FieldChange&) const = default;
};

// The field as a reader names it: "weapon 17 Speed", "weapon 5 slot 3 Ammunition[2]",
// "armament 4/2 AttackAir".
std::string DescribeField(const FieldChange& change);

// The field with both values: "weapon 17 Speed 12 -> 15".
std::string DescribeChange(const FieldChange& change);

// DescribeField and DescribeChange added to the end of `text`, so that a list of half a million
// changes reuses one line.
void AppendField(std::string& text, const FieldChange& change);
void AppendChange(std::string& text, const FieldChange& change);

} // namespace kt63
