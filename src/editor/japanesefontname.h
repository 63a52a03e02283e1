#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QFont;

namespace kt63 {

// The name under which the font database of this system lists the family of `font` (its Latin
// name), or nothing when the font is not there to be drawn with: fontconfig's names on Linux,
// the fonts the program carries on Windows. The font is otherwise the one that will be drawn
// with, so that what is loaded to check it is what the window then draws with.
std::optional<QString> ListedName(const QFont& font, const QStringList& listed);

} // namespace kt63
