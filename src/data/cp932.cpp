#include "cp932.h"

#include "cp932character.h"

#include <algorithm>
#include <optional>

namespace kt63 {

namespace {

// The length of the UTF-8 character that starts with `lead`; a stray byte counts as one.
size_t Utf8Length(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return lead >= 0xC0 ? 2 : 1;
}

// The character's bytes when they read back as the character itself.
std::optional<std::string> EncodeCharacter(std::string_view character)
{
    std::string bytes;
    if (!AppendCp932Character(character, bytes) || DecodeCp932(bytes) != character)
        return std::nullopt;
    return bytes;
}

// Calls `onCharacter` with each character's bytes, or with nothing for one the code page
// lacks, until it gives false.
template <typename OnCharacter> void EachCharacter(std::string_view text, OnCharacter onCharacter)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length =
            std::min(text.size() - at, Utf8Length(static_cast<unsigned char>(text[at])));
        if (!onCharacter(EncodeCharacter(text.substr(at, length))))
            return;
        at += length;
    }
}

} // namespace

std::string EncodeCp932(std::string_view text)
{
    std::string bytes;
    EachCharacter(text, [&bytes](const std::optional<std::string>& character) {
        bytes += character.value_or("?");
        return true;
    });
    return bytes;
}

bool FitsCp932(std::string_view text)
{
    bool fits = true;
    EachCharacter(text, [&fits](const std::optional<std::string>& character) {
        return fits = character.has_value();
    });
    return fits;
}

} // namespace kt63
