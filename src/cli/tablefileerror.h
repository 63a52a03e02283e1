#pragma once

#include "exception.h"

namespace kt63 {

// A patch that cannot be read at all, or a dump that cannot be written: the text names the file.
class ETableFileError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace kt63
