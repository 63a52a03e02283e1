#pragma once

#include "exception.h"

namespace kt63 {

// A list could not take another item.
class EOutOfResources : public Exception
{
public:
    using Exception::Exception;
};

} // namespace kt63
