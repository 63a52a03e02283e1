#include "shownrange.h"

#include "spinrange.h"

#include <algorithm>

namespace kt63 {

int32_t BoundItemIndex(int32_t index, int32_t itemCount)
{
    return std::clamp(index, -1, itemCount - 1);
}

int32_t ShownValue(const ShownRange& range, int32_t value)
{
    if (range.control == Control::RadioGroup)
        return BoundItemIndex(value, range.maxValue + 1);
    return BoundSpinValue(value, range.minValue, range.maxValue);
}

} // namespace kt63
