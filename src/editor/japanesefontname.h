#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kt63 {

// The name under which the font database of this system lists the font `family` (its Latin
// name), or nothing when the font is not there to be drawn with: fontconfig's names on Linux,
// the fonts the program carries on Windows.
std::optional<QString> ListedName(const QString& family, const QStringList& listed);

} // namespace kt63
