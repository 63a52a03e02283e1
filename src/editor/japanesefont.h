#pragma once

class QFont;

namespace kt63 {

// A proportional Gothic font that shows Japanese text (half-width katakana included) at the
// given character height in pixels: IPA P Gothic where it is installed, otherwise the first
// family that the font database lists for Japanese.
QFont JapaneseFont(int pixelSize);

// The same in fixed pitch (IPA Gothic): half-width characters take half the width of full-width
// ones, so labels spread with blanks line up with the fields under them.
QFont JapaneseFixedFont(int pixelSize);

} // namespace kt63
