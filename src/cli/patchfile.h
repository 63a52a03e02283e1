#pragma once

#include <cstdint>
#include <string>

namespace kt63 {

// The largest patch taken. Every change of a whole data file as a JSON patch is about 45 MB; a
// larger file is no patch of ours, and reading it would only fill the memory.
inline constexpr int64_t PatchSizeLimit = int64_t{256} << 20;

// The whole text of the patch (or dump) at `path`. Only a regular file is read: a FIFO, a
// device or a folder could keep the command waiting or feed it without end. Throws
// ETableFileError naming the file when it is none, is larger than PatchSizeLimit, or cannot be
// read, with the system's reason.
std::string ReadPatchFile(const std::string& path);

} // namespace kt63
