#pragma once

#include "patch.h"
#include "patchfile.h"

#include <string>

namespace kt63 {

// Parses a JSON patch as its pieces come, keeping only its changes and problems: memory grows
// with the number of changes, not with the length of the text. A change that cannot be read is
// a problem naming its place in the list ("mod.json change 3: ..."); a member given twice in a
// change is one too, since which of the two is meant is left open. Throws ETableFileError,
// naming the patch `name`, when the text is not JSON, holds no "changes" list, or gives a
// member of the document twice.
Patch ParseJsonPieces(const NextPiece& next, const std::string& name);

} // namespace kt63
