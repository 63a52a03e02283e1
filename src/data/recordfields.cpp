#include "recordfields.h"

namespace kt63 {

int32_t DecodeField(Conversion conversion, int32_t width, const uint8_t* bytes)
{
    uint32_t pattern = 0;
    for (int32_t i = width - 1; i >= 0; --i)
        pattern = (pattern << 8) | bytes[i];
    if (conversion == Conversion::Level)
        return static_cast<int32_t>(pattern) - 1;
    return static_cast<int32_t>(pattern);
}

void EncodeField(Conversion conversion, int32_t width, int32_t value, uint8_t* bytes)
{
    uint32_t pattern = static_cast<uint32_t>(value);
    if (conversion == Conversion::Level)
        pattern += 1;
    for (int32_t i = 0; i < width; ++i, pattern >>= 8)
        bytes[i] = static_cast<uint8_t>(pattern);
}

} // namespace kt63
