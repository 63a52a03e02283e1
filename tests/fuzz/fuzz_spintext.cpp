// Checks the spin field's text parser against a slow reading of the same rules built on Qt's
// own number conversions: no input may crash it, every text is either refused or read as one
// 32-bit value, and the value's decimal form reads back as the same value.
#include "spintext.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool AllIn(const QString& text, const QString& allowed)
{
    for (QChar c : text) {
        if (!allowed.contains(c)) {
            return false;
        }
    }
    return true;
}

QString WithoutLeadingZeros(const QString& digits)
{
    qsizetype i = 0;
    while (i < digits.size() && digits[i] == u'0') {
        ++i;
    }
    return digits.mid(i);
}

const QString kDecimal = QStringLiteral("0123456789");

kt63::SpinParse ReferenceDecimal(const QString& digits, bool negative)
{
    const QString significant = WithoutLeadingZeros(digits);
    if (digits.isEmpty() || !AllIn(digits, kDecimal) || significant.size() > 10) {
        return {};
    }
    const qlonglong magnitude = significant.isEmpty() ? 0 : significant.toLongLong();
    const qlonglong value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return {};
    }
    return {true, static_cast<int32_t>(value)};
}

kt63::SpinParse ReferenceHex(const QString& digits)
{
    static const QString kHex = QStringLiteral("0123456789abcdefABCDEF");
    const QString significant = WithoutLeadingZeros(digits);
    if (digits.isEmpty() || !AllIn(digits, kHex) || significant.size() > 8) {
        return {};
    }
    const uint pattern = significant.isEmpty() ? 0 : significant.toUInt(nullptr, 16);
    return {true, static_cast<int32_t>(pattern)};
}

kt63::SpinParse Reference(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ') {
        ++start;
    }
    const QString rest = text.mid(start);
    if (rest.startsWith(u'+') || rest.startsWith(u'-')) {
        return ReferenceDecimal(rest.mid(1), rest.startsWith(u'-'));
    }
    for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
        if (rest.startsWith(QLatin1String(prefix))) {
            return ReferenceHex(rest.mid(qstrlen(prefix)));
        }
    }
    return ReferenceDecimal(rest, false);
}

// The form QString::number gives: no sign but "-", no blanks, no leading zeros.
bool IsCanonicalDecimal(const QString& text)
{
    const QString digits = text.startsWith(u'-') ? text.mid(1) : text;
    if (digits.isEmpty() || !AllIn(digits, kDecimal)) {
        return false;
    }
    return digits == u"0" ? text == u"0" : digits.front() != u'0';
}

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kt63::SpinParse parsed = kt63::ParseSpinText(text);
    Check(parsed == Reference(text));
    if (!parsed.valid) {
        Check(parsed.value == 0);
        return 0;
    }
    const QString shown = QString::number(parsed.value);
    Check(kt63::ParseSpinText(shown) == parsed);
    if (IsCanonicalDecimal(text)) {
        Check(shown == text);
    }
    return 0;
}
