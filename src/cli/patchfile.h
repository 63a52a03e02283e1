#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kt63 {

class TFileStream;

// Gives the next piece of a text; an empty piece ends it.
using NextPiece = std::function<std::string_view()>;

// `text` as one piece, for a patch already in memory; `text` must outlive the pieces.
NextPiece WholeText(std::string_view text);

// The largest patch taken. Every change of a whole data file as a JSON patch is about 92 MB; a
// larger file is no patch of ours, and reading it would only keep the command busy.
inline constexpr int64_t PatchSizeLimit = int64_t{256} << 20;

// The text of the patch (or dump) at `path`, piece by piece: a patch is read as it is parsed,
// so that its text is never held whole. Only a regular file is read: a FIFO, a device or a
// folder could keep the command waiting or feed it without end. Throws ETableFileError naming
// the file when it is none, is larger than PatchSizeLimit, or cannot be read, with the
// system's reason.
class PatchFileReader
{
public:
    explicit PatchFileReader(const std::string& path);
    ~PatchFileReader();
    PatchFileReader(const PatchFileReader&) = delete;
    PatchFileReader& operator=(const PatchFileReader&) = delete;

    // The next piece of the text; empty at its end.
    std::string_view Next();

private:
    [[noreturn]] void Fail(const std::string& reason) const;

    std::string mPath;
    std::unique_ptr<TFileStream> mFile;
    int64_t mLeft; // the bytes not read yet, of the size the file had when opened
    std::vector<char> mBuffer;
};

} // namespace kt63
