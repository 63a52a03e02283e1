#include "jsonpatchreader.h"

#include "tablefileerror.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace kt63 {

namespace {

using Json = nlohmann::json;

// The text as the parser reads it: a byte at a time, the next piece fetched when one is used
// up. The parser's own adapter over iterators compares them at every byte; this one only
// counts down what is left of the piece.
class PieceAdapter
{
public:
    using char_type = char;

    explicit PieceAdapter(const NextPiece& next) : mNext(&next) {}

    std::char_traits<char>::int_type get_character()
    {
        if (mAt == mEnd && !Fetch())
            return std::char_traits<char>::eof();
        return std::char_traits<char>::to_int_type(*mAt++);
    }

private:
    bool Fetch()
    {
        const std::string_view piece = (*mNext)();
        mAt = piece.data();
        mEnd = mAt + piece.size();
        return !piece.empty();
    }

    const NextPiece* mNext;
    const char* mAt = nullptr;
    const char* mEnd = nullptr;
};

// One member of a change as the text gave it.
struct Member
{
    enum class Kind : uint8_t { Missing, Signed, Unsigned, Text, Other };

    Kind kind = Kind::Missing;
    int64_t number = 0;
    uint64_t unsignedNumber = 0;
    std::string text;
};

// The names of the members a change is read from; any other member is passed over.
const std::vector<std::string>& ReadMemberNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all{"table", "field", "old", "new"};
        for (TableId id : {TableId::Weapons, TableId::Slots, TableId::Armaments})
            for (const std::string& key : Table(id).keyNames)
                if (std::find(all.begin(), all.end(), key) == all.end())
                    all.push_back(key);
        return all;
    }();
    return names;
}

// The members of the change being read, one place for each name that is read. Kept from
// change to change, so that a change costs no allocation, and looked up among a handful of
// names, so that a change of a million members costs no more than their parsing.
class ChangeMembers
{
public:
    ChangeMembers() : mMembers(ReadMemberNames().size()) {}

    void Clear()
    {
        for (Member& member : mMembers)
            member.kind = Member::Kind::Missing;
        mLatest = nullptr;
        mRepeated.clear();
    }

    // The member a value goes to next; none for a name that is not read.
    void Open(const std::string& name)
    {
        const std::vector<std::string>& names = ReadMemberNames();
        const auto found = std::find(names.begin(), names.end(), name);
        mLatest =
            found == names.end() ? nullptr : &mMembers[static_cast<size_t>(found - names.begin())];
        if (mLatest != nullptr && mLatest->kind != Member::Kind::Missing && mRepeated.empty())
            mRepeated = name;
        if (mLatest != nullptr)
            mLatest->kind = Member::Kind::Other;
    }

    Member* Latest() { return mLatest; }

    const Member* Find(const std::string& name) const
    {
        const std::vector<std::string>& names = ReadMemberNames();
        const auto found = std::find(names.begin(), names.end(), name);
        const Member& member = mMembers[static_cast<size_t>(found - names.begin())];
        return member.kind == Member::Kind::Missing ? nullptr : &member;
    }

    // The first member read twice, or an empty text.
    const std::string& Repeated() const { return mRepeated; }

private:
    std::vector<Member> mMembers; // in the order of ReadMemberNames
    Member* mLatest = nullptr;
    std::string mRepeated;
};

const std::string* TextOf(const ChangeMembers& members, const std::string& name)
{
    const Member* member = members.Find(name);
    return member != nullptr && member->kind == Member::Kind::Text ? &member->text : nullptr;
}

// Reads member `name` as a whole number, or records why it cannot.
bool ReadNumber(const ChangeMembers& members, const std::string& name, int64_t& value,
                std::string& problem)
{
    const Member* member = members.Find(name);
    if (member == nullptr ||
        (member->kind != Member::Kind::Signed && member->kind != Member::Kind::Unsigned)) {
        problem = "\"" + name + "\" is missing or not a whole number";
        return false;
    }
    // Above the signed range the number arrives unsigned; taken as signed it would wrap round.
    if (member->kind == Member::Kind::Unsigned && member->unsignedNumber > INT64_MAX) {
        problem = "\"" + name + "\" " + std::to_string(member->unsignedNumber) +
                  " is beyond the 64-bit range";
        return false;
    }
    value = member->kind == Member::Kind::Signed ? member->number
                                                 : static_cast<int64_t>(member->unsignedNumber);
    return true;
}

// Reads the table, row key, field and values of one change; gives the problem, or an empty text.
std::string ReadChange(const ChangeMembers& members, FieldChange& change)
{
    if (!members.Repeated().empty())
        return "\"" + members.Repeated() + "\" given twice";
    const std::string* tableName = TextOf(members, "table");
    const TableLayout* table = tableName != nullptr ? FindTable(*tableName) : nullptr;
    if (table == nullptr)
        return "\"table\" must be \"weapons\", \"slots\" or \"armaments\"";
    change.table = table->id;
    int64_t keys[2] = {0, 0};
    std::string problem;
    for (size_t i = 0; i < table->keyNames.size(); ++i)
        if (!ReadNumber(members, table->keyNames[i], keys[i], problem))
            return problem;
    change.key = {static_cast<int32_t>(keys[0]), static_cast<int32_t>(keys[1])};
    if (keys[0] != change.key.first || keys[1] != change.key.second ||
        !KeyIsValid(table->id, change.key))
        return "no row " + std::to_string(keys[0]) + "/" + std::to_string(keys[1]) + " in " +
               table->name;
    const std::string* field = TextOf(members, "field");
    change.column = FindColumn(*table, field != nullptr ? *field : std::string());
    if (change.column < 0)
        return "unknown field \"" + (field != nullptr ? *field : std::string()) + "\" in " +
               table->name;
    if (!ReadNumber(members, "old", change.oldValue, problem) ||
        !ReadNumber(members, "new", change.newValue, problem))
        return DescribeField(change) + ": " + problem;
    return {};
}

// The parser's events, with the depth of the containers open: the document (1), the "changes"
// list (2), a change (3). What lies deeper, or beside the list, is parsed and passed over.
class PatchHandler final : public nlohmann::json_sax<Json>
{
public:
    explicit PatchHandler(const std::string& name)
        : mName(name), mLead(std::make_shared<const std::string>(name + " change "))
    {
    }

    bool null() override { return Other(); }
    bool boolean(bool) override { return Other(); }
    bool number_integer(number_integer_t value) override
    {
        if (Member* member = Value(Member::Kind::Signed))
            member->number = value;
        return true;
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        if (Member* member = Value(Member::Kind::Unsigned))
            member->unsignedNumber = value;
        return true;
    }
    bool number_float(number_float_t, const string_t&) override { return Other(); }
    bool string(string_t& text) override
    {
        if (Member* member = Value(Member::Kind::Text))
            member->text = std::move(text);
        return true;
    }
    bool binary(binary_t&) override { return Other(); }

    bool start_object(std::size_t) override
    {
        if (mDepth == 0)
            mDocumentIsObject = true;
        else if (mDepth == 2 && mInChanges)
            StartChange();
        else
            Other();
        ++mDepth;
        return true;
    }
    bool end_object() override
    {
        --mDepth;
        if (mDepth == 2 && mInChanges)
            EndChange();
        return true;
    }
    bool start_array(std::size_t) override
    {
        if (mDepth == 1 && mDocumentKey == "changes")
            mInChanges = mHasChanges = true;
        else
            Other();
        ++mDepth;
        return true;
    }
    bool end_array() override
    {
        if (--mDepth == 1)
            mInChanges = false;
        return true;
    }
    bool key(string_t& name) override
    {
        if (mDepth == 1)
            DocumentKey(name);
        else if (mDepth == 3 && mInChanges)
            mMembers.Open(name);
        return true;
    }

    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override
    {
        // Besides syntax errors, a number too large even for a double ("1e999") ends up here.
        throw ETableFileError(mName + " is not JSON: " + error.what());
    }

    Patch Finish()
    {
        if (!mDocumentIsObject || !mHasChanges)
            throw ETableFileError(mName + " holds no \"changes\" list");
        return std::move(mPatch);
    }

private:
    // A value that opens no change or list: gives the member of a change it is, if any.
    Member* Value(Member::Kind kind)
    {
        if (mDepth == 2 && mInChanges) {
            ++mIndex;
            mPatch.problems.push_back(*mLead + std::to_string(mIndex) + ": not an object");
            return nullptr;
        }
        Member* member = mDepth == 3 && mInChanges ? mMembers.Latest() : nullptr;
        if (member != nullptr)
            member->kind = kind;
        return member;
    }

    // A value that is no number or text: as a member, it is none that can be read.
    bool Other()
    {
        Value(Member::Kind::Other);
        return true;
    }

    // The document's members: one given twice would leave it open which is meant. Only those
    // read or written by the tool are kept, so that a document of a million members costs no
    // more than their parsing.
    void DocumentKey(const std::string& name)
    {
        mDocumentKey = name;
        if (name != "changes" && name != "strayBytes")
            return;
        if (std::find(mDocumentKeys.begin(), mDocumentKeys.end(), name) != mDocumentKeys.end())
            throw ETableFileError(mName + ": \"" + name + "\" given twice");
        mDocumentKeys.push_back(name);
    }

    void StartChange()
    {
        ++mIndex;
        mMembers.Clear();
    }

    void EndChange()
    {
        FieldChange change{TableId::Weapons, {0, 0}, 0, 0, 0, {mLead, mIndex}};
        const std::string problem = ReadChange(mMembers, change);
        if (problem.empty())
            mPatch.changes.push_back(std::move(change));
        else
            mPatch.problems.push_back(change.source.Text() + ": " + problem);
    }

    const std::string& mName;
    std::shared_ptr<const std::string> mLead;
    int mDepth = 0;
    bool mDocumentIsObject = false;
    bool mHasChanges = false;
    bool mInChanges = false;
    std::vector<std::string> mDocumentKeys;
    std::string mDocumentKey;
    uint32_t mIndex = 0;
    ChangeMembers mMembers;
    Patch mPatch;
};

} // namespace

Patch ParseJsonPieces(const NextPiece& next, const std::string& name)
{
    PatchHandler handler(name);
    nlohmann::detail::parser<Json, PieceAdapter>(PieceAdapter(next)).sax_parse(&handler);
    return handler.Finish();
}

} // namespace kt63
