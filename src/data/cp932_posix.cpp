#include "cp932.h"
#include "cp932character.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace kt63 {

namespace {

const std::string Replacement = "\xEF\xBF\xBD";

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
    bool Convert(const char*& in, size_t& inLeft, std::string& out)
    {
        ::iconv(mHandle, nullptr, nullptr, nullptr, nullptr); // whatever the last call left
        char buffer[256];
        while (inLeft > 0) {
            char* to = buffer;
            size_t toLeft = sizeof buffer;
            const size_t done = ::iconv(mHandle, const_cast<char**>(&in), &inLeft, &to, &toLeft);
            out.append(buffer, static_cast<size_t>(to - buffer));
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
