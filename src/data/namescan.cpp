#include "namescan.h"

#include <algorithm>
#include <cstring>

namespace kt63 {

void ScanNames(const uint8_t* area, int32_t length, const NameSink& sink)
{
    if (length < 2)
        return;
    const uint8_t* const end = area + length;
    const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(area, 0, length - 1));
    while (zero != nullptr) {
        const uint8_t* const start = zero + 1;
        const size_t left = static_cast<size_t>(end - start);
        const size_t window = std::min(left, static_cast<size_t>(MaxNameLength));
        const auto* stop = static_cast<const uint8_t*>(std::memchr(start, 0, window));
        const size_t size = stop ? static_cast<size_t>(stop - start) : window;
        if (size > 0)
            sink(std::string_view(reinterpret_cast<const char*>(start), size));
        // The next name can only begin after the next zero byte, and that zero must leave at
        // least one byte after it inside the area.
        const uint8_t* from = stop ? stop : start + size;
        zero = from < end - 1 ? static_cast<const uint8_t*>(std::memchr(from, 0, (end - 1) - from))
                              : nullptr;
    }
}

} // namespace kt63
