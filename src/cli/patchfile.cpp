#include "patchfile.h"

#include "exception.h"
#include "tablefileerror.h"
#include "tfilestream.h"

#include <memory>

namespace kt63 {

std::string ReadPatchFile(const std::string& path)
{
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
    } catch (const EFOpenError& error) {
        throw ETableFileError("cannot read the patch " + path + " (" + error.reason() + ")");
    }
    const int64_t size = file->Size();
    if (size < 0)
        throw ETableFileError("cannot read the patch " + path + " (" + file->LastErrorText() + ")");
    if (size > PatchSizeLimit)
        throw ETableFileError("the patch " + path + " has " + std::to_string(size) +
                              " bytes, more than the " + std::to_string(PatchSizeLimit) +
                              " a patch may have");
    std::string text(static_cast<size_t>(size), '\0');
    const auto count = static_cast<int32_t>(size);
    int32_t got = 0;
    for (int32_t step = 1; got < count && step > 0; got += step)
        step = file->Read(text.data() + got, count - got);
    if (got != count)
        throw ETableFileError(
            "cannot read the patch " + path + " (" +
            (file->LastError() != 0 ? file->LastErrorText() : ShortRead(got, count)) + ")");
    return text;
}

} // namespace kt63
