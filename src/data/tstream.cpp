#include "tstream.h"

#include <cerrno>
#include <system_error>

namespace kt63 {

std::string TStream::LastErrorText() const
{
    return std::generic_category().message(mLastError);
}

int32_t TStream::ReadAt(int32_t offset, void* buffer, int32_t count)
{
    return MoveTo(offset) ? Read(buffer, count) : 0;
}

int32_t TStream::WriteAt(int32_t offset, const void* buffer, int32_t count)
{
    return MoveTo(offset) ? Write(buffer, count) : 0;
}

bool TStream::MoveTo(int32_t offset)
{
    if (offset < 0) {
        SetLastError(EINVAL); // -1 is also what a refused seek gives
        return false;
    }
    const int32_t reached = Seek(offset, soFromBeginning);
    if (reached != offset && LastError() == 0)
        SetLastError(EIO);
    return reached == offset;
}

int64_t TStream::Size()
{
    const int32_t position = Seek(0, soFromCurrent);
    const int32_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

StreamStatus TStream::CurrentStatus()
{
    StreamStatus status;
    status.size = Size();
    return status;
}

} // namespace kt63
