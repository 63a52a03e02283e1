#include "cp932.h"
#include "cp932character.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace kt63 {

namespace {

const std::string Replacement = "\xEF\xBF\xBD";

// The most bytes one byte of either side becomes: a half-width katakana is one byte in code
// page 932 and three in UTF-8.
constexpr size_t kMaxGrowth = 3;

class Converter
{
public:
    Converter(const char* to, const char* from) : mHandle(::iconv_open(to, from))
    {
        if (mHandle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("the system has no converter for code page 932");
    }
    ~Converter() { ::iconv_close(mHandle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; gives false when it stopped at a byte it cannot convert.
    // The output has room for all of the input from the start: glibc converts through a
    // buffer of its own, and when the output fills up it converts the part already read once
    // more to find where to stop, so that a whole names area through a small buffer took six
    // times as long as its names converted one by one.
    bool Convert(const char*& in, size_t& inLeft, std::string& out)
    {
        ::iconv(mHandle, nullptr, nullptr, nullptr, nullptr); // whatever the last call left
        while (inLeft > 0) {
            const size_t kept = out.size();
            out.resize(kept + kMaxGrowth * inLeft);
            char* to = out.data() + kept;
            size_t toLeft = out.size() - kept;
            const size_t done = ::iconv(mHandle, const_cast<char**>(&in), &inLeft, &to, &toLeft);
            out.resize(static_cast<size_t>(to - out.data()));
            if (done == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t mHandle;
};

// Opened once for each thread: the window measures text one character at a time.
Converter& Decoder()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& Encoder()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

} // namespace

std::string DecodeCp932(std::string_view bytes)
{
    Converter& converter = Decoder();
    std::string text;
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    while (!converter.Convert(in, inLeft, text)) {
        text += Replacement;
        ++in;
        --inLeft;
    }
    return text;
}

bool AppendCp932Character(std::string_view character, std::string& bytes)
{
    const char* in = character.data();
    size_t inLeft = character.size();
    std::string converted;
    if (!Encoder().Convert(in, inLeft, converted))
        return false;
    bytes += converted;
    return true;
}

} // namespace kt63
