#include "patchfile.h"

#include "exception.h"
#include "tablefileerror.h"
#include "tfilestream.h"

#include <algorithm>

namespace kt63 {

namespace {

// Large enough that the system calls cost nothing beside the parsing, small enough to stay
// in the cache.
constexpr int32_t PieceSize = 256 << 10;

} // namespace

NextPiece WholeText(std::string_view text)
{
    return [text, given = false]() mutable {
        const std::string_view piece = given ? std::string_view() : text;
        given = true;
        return piece;
    };
}

PatchFileReader::PatchFileReader(const std::string& path) : mPath(path)
{
    try {
        mFile = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
    } catch (const EFOpenError& error) {
        throw ETableFileError("cannot read the patch " + path + " (" + error.reason() + ")");
    }
    mLeft = mFile->Size();
    if (mLeft < 0)
        Fail(mFile->LastErrorText());
    if (mLeft > PatchSizeLimit)
        throw ETableFileError("the patch " + path + " has " + std::to_string(mLeft) +
                              " bytes, more than the " + std::to_string(PatchSizeLimit) +
                              " a patch may have");
    mBuffer.resize(static_cast<size_t>(std::min<int64_t>(mLeft, PieceSize)));
}

PatchFileReader::~PatchFileReader() = default;

std::string_view PatchFileReader::Next()
{
    const auto count = static_cast<int32_t>(std::min<int64_t>(mLeft, PieceSize));
    int32_t got = 0;
    for (int32_t step = 1; got < count && step > 0; got += step)
        step = mFile->Read(mBuffer.data() + got, count - got);
    if (got != count)
        Fail(mFile->LastError() != 0 ? mFile->LastErrorText() : ShortRead(got, count));
    mLeft -= count;
    return {mBuffer.data(), static_cast<size_t>(count)};
}

void PatchFileReader::Fail(const std::string& reason) const
{
    throw ETableFileError("cannot read the patch " + mPath + " (" + reason + ")");
}

} // namespace kt63
