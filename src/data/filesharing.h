#pragma once

#include <cstdint>

namespace kt63 {

// Enforces the sharing part of an open mode on the freshly opened descriptor `fd`: gives false
// when the file is already open in a way that conflicts with `mode`, or when `mode` would
// conflict with an opener that is already there. The locks live with the open file
// description, so they go away when the descriptor is closed and nothing needs releasing.
bool AcquireSharing(int fd, uint16_t mode);

} // namespace kt63
