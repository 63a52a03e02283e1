#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace kt63 {

// The longest name taken from a names area; longer runs are cut, by bytes.
inline constexpr int32_t MaxNameLength = 24;

using NameSink = std::function<void(std::string_view name)>;

// Finds the names in `length` bytes of `area` and hands each to `sink` the moment it is found.
// A name is a run of non-zero bytes that directly follows a zero byte; it ends at the next zero
// byte, after its 24th byte, or at the end of the area, whichever comes first. The first byte of
// the area never begins a name, and the rest of a cut name never begins one either (no zero
// byte precedes it). A cut may split a double-byte character; the name then ends on its lead
// byte, as the game's own lists do.
void ScanNames(const uint8_t* area, int32_t length, const NameSink& sink);

} // namespace kt63
