#include "datafile.h"

#include "exception.h"
#include "tfilestream.h"

namespace kt63 {

std::unique_ptr<TFileStream> OpenDataFile(const std::string& path)
{
    auto file = std::make_unique<TFileStream>(path, fmOpenReadWrite | fmShareDenyWrite);
    if (file->Size() < DataFileMinimumSize)
        throw EFTooShortError(path);
    return file;
}

void ReadArmamentNameArea(TStream& file, ArmamentNameArea& buffer)
{
    file.Seek(NameAreaOffset, soFromBeginning);
    file.Read(buffer.data(), NameAreaSize);
}

} // namespace kt63
