#include "spinrange.h"

namespace kt63 {

int32_t BoundSpinValue(int64_t value, int32_t minValue, int32_t maxValue)
{
    int64_t low = minValue;
    int64_t high = maxValue;
    if (minValue == maxValue) {
        low = INT32_MIN;
        high = INT32_MAX;
    }
    // Not std::clamp: limits set the wrong way round are legal and must not be undefined.
    if (value < low) {
        return static_cast<int32_t>(low);
    }
    if (value > high) {
        return static_cast<int32_t>(high);
    }
    return static_cast<int32_t>(value);
}

} // namespace kt63
