#include "console.h"

#include "widetext_win32.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace kt63 {

namespace {

// How many of `bytes` end in whole UTF-8 characters: a character cut at the end of the buffer is
// kept for the next write, so that it is not shown as two broken halves.
size_t WholeCharacters(const std::string& bytes)
{
    size_t lead = bytes.size();
    while (lead > 0 && bytes.size() - lead < 3 &&
           (static_cast<unsigned char>(bytes[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead == 0)
        return bytes.size();
    const auto first = static_cast<unsigned char>(bytes[lead - 1]);
    const size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return bytes.size() - (lead - 1) < length ? lead - 1 : bytes.size();
}

// Takes UTF-8 and writes it to a console as UTF-16.
class ConsoleBuffer final : public std::streambuf
{
public:
    explicit ConsoleBuffer(HANDLE console) : mConsole(console) {}
    ~ConsoleBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            mPending.push_back(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override
    {
        mPending.append(bytes, static_cast<size_t>(count));
        return count;
    }

    int sync() override
    {
        const size_t whole = WholeCharacters(mPending);
        const std::wstring text = WideFromUtf8(std::string_view(mPending).substr(0, whole));
        mPending.erase(0, whole);
        for (size_t at = 0; at < text.size();) {
            DWORD written = 0;
            if (!::WriteConsoleW(mConsole, text.data() + at, static_cast<DWORD>(text.size() - at),
                                 &written, nullptr) ||
                written == 0)
                return -1;
            at += written;
        }
        return 0;
    }

private:
    HANDLE mConsole;
    std::string mPending;
};

// A console handle gets a buffer that converts; anything else gets the bytes as they are.
std::unique_ptr<std::streambuf> BufferFor(DWORD handleName, FILE* file)
{
    const HANDLE handle = ::GetStdHandle(handleName);
    DWORD consoleMode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr &&
        ::GetConsoleMode(handle, &consoleMode))
        return std::make_unique<ConsoleBuffer>(handle);
    ::_setmode(::_fileno(file), _O_BINARY);
    return nullptr;
}

} // namespace

std::vector<std::string> Utf8Arguments(int, char**)
{
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 0; i < count; ++i)
        utf8.push_back(Utf8FromWide(arguments[i]));
    ::LocalFree(arguments);
    return utf8;
}

Utf8Console::Utf8Console()
    : mOut(BufferFor(STD_OUTPUT_HANDLE, stdout)), mErr(BufferFor(STD_ERROR_HANDLE, stderr))
{
    if (mOut)
        mOriginalOut = std::cout.rdbuf(mOut.get());
    if (mErr)
        mOriginalErr = std::cerr.rdbuf(mErr.get());
}

Utf8Console::~Utf8Console()
{
    std::cout.flush();
    std::cerr.flush();
    if (mOut)
        std::cout.rdbuf(mOriginalOut);
    if (mErr)
        std::cerr.rdbuf(mOriginalErr);
}

} // namespace kt63
