#include "tmemorystream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace kt63 {

int32_t TMemoryStream::Seek(int32_t offset, uint16_t origin)
{
    int64_t from = 0;
    if (origin == soFromCurrent)
        from = mPosition;
    else if (origin == soFromEnd)
        from = static_cast<int64_t>(mBytes.size());
    else if (origin != soFromBeginning)
        return Refuse();
    const int64_t target = from + offset;
    if (target < 0 || target > INT32_MAX)
        return Refuse();
    mPosition = target;
    SetLastError(0);
    return static_cast<int32_t>(mPosition);
}

int32_t TMemoryStream::Refuse()
{
    SetLastError(EINVAL);
    return -1;
}

int32_t TMemoryStream::Read(void* buffer, int32_t count)
{
    const int64_t available = static_cast<int64_t>(mBytes.size()) - mPosition;
    const int64_t done = std::min<int64_t>(count, available);
    if (done <= 0)
        return 0;
    std::memcpy(buffer, mBytes.data() + mPosition, static_cast<size_t>(done));
    mPosition += done;
    return static_cast<int32_t>(done);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    const auto end = static_cast<size_t>(mPosition + count);
    if (end > mBytes.size())
        mBytes.resize(end, 0);
    std::memcpy(mBytes.data() + mPosition, buffer, static_cast<size_t>(count));
    mPosition += count;
    return count;
}

} // namespace kt63
