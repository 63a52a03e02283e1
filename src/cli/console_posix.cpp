#include "console.h"

namespace kt63 {

// The terminal takes the bytes as they are.
std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return {argv, argv + argc};
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

} // namespace kt63
