#pragma once

#include <QtContainerFwd>

class QFont;
class QString;

namespace kt63 {

// A proportional Gothic font that shows Japanese text (half-width katakana included) at the
// given character height in pixels: IPA P Gothic where it is installed, found by any of its names
// whatever the user's locale, otherwise the first family that the font database lists for
// Japanese.
QFont JapaneseFont(int pixelSize);

// The same in fixed pitch (IPA Gothic): half-width characters take half the width of full-width
// ones, so labels spread with blanks line up with the fields under them.
QFont JapaneseFixedFont(int pixelSize);

// The values of fontconfig's `object` (FC_FAMILY, FC_FILE, ...) of every installed font that has
// `family` among its names in any language, each value once: all the names of a font, or the
// files that hold it.
QStringList FontconfigValues(const QString& family, const char* object);

} // namespace kt63
