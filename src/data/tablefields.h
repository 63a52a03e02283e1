#pragma once

#include <cstdint>

namespace kt63 {

// Whether `width` bytes at `offset` are exactly one of the fields that the tables hold (a
// weapon's field, a slot's equipment kind or ammunition cell, an armament entry's field): the
// only bytes kt63-table ever changes, and so the only ones a journal of its applies may name.
bool IsTableField(int64_t offset, int64_t width);

// How many such fields a data file has: no change, and no journal of one, names more.
int64_t TableFieldCount();

} // namespace kt63
