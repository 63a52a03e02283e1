#pragma once

#include <QStringList>

namespace kt63 {

// Turns a filter of "text|pattern" pairs, such as "Qelvint.dll|Qelvint.dll|All (*.*)|*.*", into
// the name filters of a Qt file dialog, "text (pattern)". The pattern "*.*" becomes "*", since it
// stands for every file, also those without a dot. A trailing text without pattern is dropped.
QStringList ToNameFilters(const QString& filter);

} // namespace kt63
