#pragma once

#include <cstdint>

namespace kt63 {

// Brings a value within a spin field's limits. When both limits are equal the field has no
// limits, and the value is only kept within the 32-bit range; otherwise a value below
// `minValue` becomes `minValue` and one above `maxValue` becomes `maxValue`, tested in that
// order. The wide argument lets a step past the 32-bit range saturate instead of wrapping.
int32_t BoundSpinValue(int64_t value, int32_t minValue, int32_t maxValue);

} // namespace kt63
