#include "tstream.h"

#include <system_error>

namespace kt63 {

std::string TStream::LastErrorText() const
{
    return std::generic_category().message(mLastError);
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
