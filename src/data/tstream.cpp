#include "tstream.h"

namespace kt63 {

int32_t TStream::Size()
{
    const int32_t position = Seek(0, soFromCurrent);
    const int32_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

} // namespace kt63
