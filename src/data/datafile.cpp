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

void CheckDataFileHeld(const TFileStream& file)
{
    using Change = EFChangedError::Change;
    const TFileStream::Status status = file.CurrentStatus();
    if (!status.pathExists)
        throw EFChangedError(Change::Deleted, file.FileName());
    if (!status.pathNamesIt)
        throw EFChangedError(Change::Replaced, file.FileName());
    if (status.size < DataFileMinimumSize)
        throw EFChangedError(Change::CutShort, file.FileName());
}

void ReadArmamentNameArea(TStream& file, ArmamentNameArea& buffer)
{
    file.Seek(NameAreaOffset, soFromBeginning);
    file.Read(buffer.data(), NameAreaSize);
}

} // namespace kt63
