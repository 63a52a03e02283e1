#pragma once

#include <QStringView>

#include <cstdint>

namespace kt63 {

// The verdict on a spin field's text and, when it is a number, that number.
struct SpinParse
{
    bool valid = false;
    int32_t value = 0;

    friend bool operator==(const SpinParse&, const SpinParse&) = default;
};

// Reads a spin field's text as a 32-bit signed integer. Leading blanks are skipped; then comes
// either a decimal number with an optional sign, or a hexadecimal number after one of the
// prefixes "$", "x", "X", "0x", "0X" with up to eight significant digits taken as a 32-bit
// pattern. The digits must run to the end of the text. An invalid text gives valid == false and
// value 0; limits are not applied here.
SpinParse ParseSpinText(QStringView text);

} // namespace kt63
