#include "universalpath.h"

#include "tfilestream.h"

namespace kt63 {

// Network shares are mounted into the one tree of folders: the absolute path names the file.
std::string UniversalPath(const std::string& path)
{
    return AbsolutePath(path);
}

} // namespace kt63
