#pragma once

#include <cstdint>

namespace kt63 {

// The kind of control that shows a field on the editor's window.
enum class Control : uint8_t { SpinField, RadioGroup };

// The values a field's control holds. A spin field keeps its value between `minValue` and
// `maxValue`, or keeps any value when the two are equal; a radio group holds an item index from
// -1 (no item selected) to its last item's.
struct ShownRange
{
    Control control;
    int32_t minValue;
    int32_t maxValue;
};

constexpr ShownRange SpinLimits(int32_t minValue, int32_t maxValue)
{
    return {Control::SpinField, minValue, maxValue};
}

// Both limits 0: the spin field shows any value as it is.
inline constexpr ShownRange NoLimit = SpinLimits(0, 0);

constexpr ShownRange RadioItems(int32_t itemCount)
{
    return {Control::RadioGroup, -1, itemCount - 1};
}

// Brings an item index within a radio group of `itemCount` (0 or more) items: an index below -1
// selects no item, one at or past the end the last item.
int32_t BoundItemIndex(int32_t index, int32_t itemCount);

// The value a control holds, and a save takes, once `value` has been written into it.
int32_t ShownValue(const ShownRange& range, int32_t value);

} // namespace kt63
