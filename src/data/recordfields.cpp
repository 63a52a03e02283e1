#include "recordfields.h"

#include <algorithm>
#include <limits>

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

void BytesAfterSave(Conversion conversion, int32_t width, const ShownRange& shown,
                    const uint8_t* stored, uint8_t* saved)
{
    const int32_t loaded = DecodeField(conversion, width, stored);
    EncodeField(conversion, width, ShownValue(shown, loaded), saved);
}

ValueRange LoadableRange(Conversion conversion, int32_t width)
{
    switch (conversion) {
    case Conversion::Signed32:
        return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    case Conversion::Level:
        return {-1, 254};
    case Conversion::Unsigned:
        break;
    }
    return {0, (1 << (8 * width)) - 1};
}

ValueRange KeptRange(Conversion conversion, int32_t width, const ShownRange& shown)
{
    const ValueRange loadable = LoadableRange(conversion, width);
    if (shown.control == Control::SpinField && shown.minValue == shown.maxValue)
        return loadable;
    return {std::max(loadable.low, shown.minValue), std::min(loadable.high, shown.maxValue)};
}

} // namespace kt63
