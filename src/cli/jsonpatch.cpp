#include "jsonpatch.h"

#include "jsonpatchreader.h"
#include "patchfile.h"
#include "tablediff.h"

#include <charconv>
#include <ostream>
#include <sstream>

namespace kt63 {

namespace {

// The pieces written out at once: the stream's own buffer would take them a line at a time.
constexpr size_t FlushSize = 64 << 10;

void AppendNumber(std::string& text, int64_t value)
{
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Table, key and field names are plain ASCII words of the layout: nothing in them to escape.
void AppendMember(std::string& text, const char* indent, const std::string& name, int64_t value,
                  bool last = false)
{
    text += indent;
    text += '"';
    text += name;
    text += "\": ";
    AppendNumber(text, value);
    text += last ? "\n" : ",\n";
}

} // namespace

JsonPatchWriter::JsonPatchWriter(std::ostream& out) : mOut(out), mText("{\n  \"changes\": [") {}

void JsonPatchWriter::Add(const FieldChange& change)
{
    const TableLayout& table = Table(change.table);
    const char* indent = "      ";
    mText += mFirst ? "\n    {\n" : ",\n    {\n";
    mFirst = false;
    mText += indent;
    mText += "\"table\": \"" + table.name + "\",\n";
    AppendMember(mText, indent, table.keyNames[0], change.key.first);
    if (table.keyNames.size() > 1)
        AppendMember(mText, indent, table.keyNames[1], change.key.second);
    mText += indent;
    mText += "\"field\": \"" + table.columns[static_cast<size_t>(change.column)].name + "\",\n";
    AppendMember(mText, indent, "old", change.oldValue);
    AppendMember(mText, indent, "new", change.newValue, true);
    mText += "    }";
    Flush();
}

void JsonPatchWriter::Add(const ByteRange& strayBytes)
{
    StartStrayBytes();
    mText += mFirst ? "\n    {\n" : ",\n    {\n";
    mFirst = false;
    AppendMember(mText, "      ", "first", strayBytes.first);
    AppendMember(mText, "      ", "last", strayBytes.last, true);
    mText += "    }";
    Flush();
}

void JsonPatchWriter::Finish()
{
    StartStrayBytes();
    mText += mFirst ? "]\n}\n" : "\n  ]\n}\n";
    mOut << mText;
    mText.clear();
}

void JsonPatchWriter::StartStrayBytes()
{
    if (mInStrayBytes)
        return;
    mText += mFirst ? "],\n  \"strayBytes\": [" : "\n  ],\n  \"strayBytes\": [";
    mFirst = true;
    mInStrayBytes = true;
}

void JsonPatchWriter::Flush()
{
    if (mText.size() < FlushSize)
        return;
    mOut << mText;
    mText.clear();
}

std::string DiffToJson(const TableDiff& diff)
{
    std::ostringstream text;
    JsonPatchWriter writer(text);
    for (const FieldChange& change : diff.changes)
        writer.Add(change);
    for (const ByteRange& range : diff.strayBytes)
        writer.Add(range);
    writer.Finish();
    return text.str();
}

Patch ReadJsonPatch(const std::string& path)
{
    PatchFileReader file(path);
    return ParseJsonPieces([&file] { return file.Next(); }, path);
}

Patch ParseJsonPatch(const std::string& text, const std::string& name)
{
    return ParseJsonPieces(WholeText(text), name);
}

} // namespace kt63
