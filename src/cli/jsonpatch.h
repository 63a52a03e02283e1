#pragma once

#include "patch.h"

#include <iosfwd>
#include <string>

namespace kt63 {

struct ByteRange;
struct TableDiff;

// Writes a JSON patch as its changes come: {"changes": [{"table": "weapons", "Weapon": 17,
// "field": "Speed", "old": 12, "new": 15}, ...], "strayBytes": [{"first": 100, "last": 103},
// ...]}, indented by two. The stray bytes are there for the reader; applying a patch writes
// fields only.
class JsonPatchWriter
{
public:
    explicit JsonPatchWriter(std::ostream& out);

    // Every change comes before the first range of stray bytes.
    void Add(const FieldChange& change);
    void Add(const ByteRange& strayBytes);

    // The document ends here.
    void Finish();

private:
    void StartStrayBytes();
    void Flush();

    std::ostream& mOut;
    std::string mText; // written out in pieces, not a line at a time
    bool mFirst = true;
    bool mInStrayBytes = false;
};

// The diff as a whole JSON patch.
std::string DiffToJson(const TableDiff& diff);

// Reads the changes of a JSON patch at `path` as it streams, each named by its place in the
// list. Throws ETableFileError when the file cannot be read, is not JSON, holds no "changes"
// list, or gives a member of the document twice.
Patch ReadJsonPatch(const std::string& path);

// The same for the text of a JSON patch, named `name` in every problem and error.
Patch ParseJsonPatch(const std::string& text, const std::string& name);

} // namespace kt63
