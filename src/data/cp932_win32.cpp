#include "cp932.h"
#include "cp932character.h"

#include "widetext_win32.h"

#include <cstdint>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63 {

namespace {

constexpr UINT CodePage932 = 932;

// One character of the code page, one or two bytes, as UTF-16; false when the bytes are no
// character of it.
bool DecodeCharacter(std::string_view bytes, std::wstring& text)
{
    wchar_t character[2];
    const int done = ::MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), character, 2);
    text.append(character, static_cast<size_t>(done));
    return done > 0;
}

// The characters of one byte are ASCII and the half-width katakana. Windows also gives 0x80, 0xA0
// and 0xFD to 0xFF characters of its own, which the code page's published table and iconv do not
// have; refusing them keeps the names the same as on Linux.
bool IsSingleByteCharacter(uint8_t byte)
{
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}

// How many bytes from `at` may make one character: a lead byte takes the byte after it.
size_t CharacterLength(std::string_view bytes, size_t at)
{
    const auto byte = static_cast<uint8_t>(bytes[at]);
    if (::IsDBCSLeadByteEx(CodePage932, byte))
        return at + 1 < bytes.size() ? 2 : 0;
    return IsSingleByteCharacter(byte) ? 1 : 0;
}

// One character of UTF-16, one unit or a surrogate pair, in the code page; false when the code
// page cannot hold it. Windows' nearest look-alikes are refused here already.
bool EncodeCharacter(std::wstring_view character, std::string& bytes)
{
    char encoded[4];
    BOOL lost = FALSE;
    const int done = ::WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, character.data(),
                                           static_cast<int>(character.size()), encoded,
                                           sizeof encoded, nullptr, &lost);
    if (done <= 0 || lost)
        return false;
    bytes.append(encoded, static_cast<size_t>(done));
    return true;
}

} // namespace

// Character by character, so that a byte that starts no character costs only itself, as the
// iconv loop on POSIX does: the bytes after it are read again from the next byte on.
std::string DecodeCp932(std::string_view bytes)
{
    std::wstring text;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t length = CharacterLength(bytes, at);
        if (length > 0 && DecodeCharacter(bytes.substr(at, length), text)) {
            at += length;
        } else {
            text += L'\xFFFD';
            ++at;
        }
    }
    return Utf8FromWide(text);
}

bool AppendCp932Character(std::string_view character, std::string& bytes)
{
    return EncodeCharacter(WideFromUtf8(character), bytes);
}

} // namespace kt63
