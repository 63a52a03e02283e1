// Writes what this system's code page 932 makes of every byte sequence a name can hold and of
// every character: one line per one- and two-byte sequence (the bytes, the text, the text's
// bytes again) and one per code point (the code point, its bytes, whether they are whole).
// The Linux and the Windows program must write the same lines.
#include "cp932.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char byte : bytes) {
        const auto value = static_cast<uint8_t>(byte);
        hex += digits[value >> 4];
        hex += digits[value & 0xF];
    }
    return hex.empty() ? "-" : hex;
}

std::string Utf8(char32_t code)
{
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

void WriteBytes(std::string_view bytes)
{
    const std::string text = kt63::DecodeCp932(bytes);
    std::printf("%s %s %s\n", Hex(bytes).c_str(), Hex(text).c_str(),
                Hex(kt63::EncodeCp932(text)).c_str());
}

bool IsSurrogate(char32_t code)
{
    return code >= 0xD800 && code <= 0xDFFF;
}

} // namespace

int main()
{
    for (int first = 0; first < 256; ++first) {
        WriteBytes(std::string(1, static_cast<char>(first)));
        for (int second = 0; second < 256; ++second)
            WriteBytes(std::string{static_cast<char>(first), static_cast<char>(second)});
    }
    // Every character of the first plane, and a few beyond it.
    for (char32_t code = 1; code < 0x10000; ++code) {
        if (IsSurrogate(code))
            continue;
        const std::string text = Utf8(code);
        std::printf("U+%04X %s %d\n", static_cast<unsigned>(code),
                    Hex(kt63::EncodeCp932(text)).c_str(), kt63::FitsCp932(text) ? 1 : 0);
    }
    for (const char32_t code : {U'\U0001F600', U'\U00020B9F', U'\U0010FFFD'})
        std::printf("U+%X %s\n", static_cast<unsigned>(code),
                    Hex(kt63::EncodeCp932(Utf8(code))).c_str());
    return 0;
}
