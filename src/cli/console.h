#pragma once

#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace kt63 {

// The program's arguments as UTF-8. On Windows they are taken from the system's UTF-16 command
// line, since `argv` holds them in the locale's code page, which has no room for Japanese
// folder names on most systems.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// While it lives, std::cout and std::cerr take UTF-8. On a Windows console they show it through
// the console's UTF-16 output, whatever code page the console has; written to a file or a pipe,
// on every system, they pass the bytes on unchanged (no line end turned into CR LF), so that CSV
// and JSON come out the same everywhere.
class Utf8Console
{
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    // Set only where the output needs converting; the streams' own buffers are put back at the end.
    std::unique_ptr<std::streambuf> mOut;
    std::unique_ptr<std::streambuf> mErr;
    std::streambuf* mOriginalOut = nullptr;
    std::streambuf* mOriginalErr = nullptr;
};

} // namespace kt63
