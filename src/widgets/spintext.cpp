#include "spintext.h"

#include <algorithm>

namespace kt63 {

namespace {

constexpr int64_t kDecimalOverflow = int64_t{1} << 32;

int DecimalDigit(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'0' && u <= u'9' ? u - u'0' : -1;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return DecimalDigit(c);
}

// Only ASCII digits count: full-width digits are letters as far as a number is concerned.
SpinParse ParseDecimal(QStringView digits, bool negative)
{
    if (digits.isEmpty()) {
        return {};
    }
    int64_t magnitude = 0;
    for (QChar c : digits) {
        const int d = DecimalDigit(c);
        if (d < 0) {
            return {};
        }
        // Saturating keeps the accumulator small however many digits follow.
        magnitude = std::min(magnitude * 10 + d, kDecimalOverflow);
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return {};
    }
    return {true, static_cast<int32_t>(value)};
}

// Leading zeros are not significant, so "$000000001" fits although it has nine digits.
SpinParse ParseHex(QStringView digits)
{
    if (digits.isEmpty()) {
        return {};
    }
    uint32_t pattern = 0;
    int significant = 0;
    for (QChar c : digits) {
        const int d = HexDigit(c);
        if (d < 0) {
            return {};
        }
        if (significant > 0 || d != 0) {
            ++significant;
        }
        if (significant > 8) {
            return {};
        }
        pattern = (pattern << 4) | static_cast<uint32_t>(d);
    }
    return {true, static_cast<int32_t>(pattern)};
}

int HexPrefixLength(QStringView text)
{
    if (text.startsWith(u'$') || text.startsWith(u'x') || text.startsWith(u'X')) {
        return 1;
    }
    if (text.startsWith(u"0x") || text.startsWith(u"0X")) {
        return 2;
    }
    return 0;
}

} // namespace

SpinParse ParseSpinText(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ') {
        ++start;
    }
    const QStringView rest = text.mid(start);
    if (rest.startsWith(u'+') || rest.startsWith(u'-')) {
        return ParseDecimal(rest.mid(1), rest.front() == u'-');
    }
    if (const int prefix = HexPrefixLength(rest); prefix > 0) {
        return ParseHex(rest.mid(prefix));
    }
    return ParseDecimal(rest, false);
}

} // namespace kt63
