#pragma once

#include <QChar>
#include <QStringView>

namespace kt63 {

// Decides whether a spin field lets a typed character reach its text. Digits, "+", "-", the
// locale's decimal separator and control characters other than Return pass; while typing is
// disabled only control characters other than Backspace pass. Everything else is refused, and
// the field beeps for it.
bool AcceptsSpinCharacter(QChar c, bool editorEnabled, QStringView decimalSeparator);

} // namespace kt63
