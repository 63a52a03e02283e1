#include "spincharfilter.h"

namespace kt63 {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kReturn = 13;

bool IsControl(QChar c)
{
    return c.unicode() < 32;
}

} // namespace

bool AcceptsSpinCharacter(QChar c, bool editorEnabled, QStringView decimalSeparator)
{
    const char16_t u = c.unicode();
    const bool numeric = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' ||
                         (decimalSeparator.size() == 1 && decimalSeparator.front() == c);
    // Refusing Return keeps line breaks out of a one-line number.
    const bool control = IsControl(c) && u != kReturn;
    if (!numeric && !control) {
        return false;
    }
    // Without typing, only the keys that copy, paste or move stay useful.
    return editorEnabled || (control && u != kBackspace);
}

} // namespace kt63
