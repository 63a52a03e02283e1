#pragma once

class QPixmap;
class QString;

namespace kt63 {

// Loads one of the arrow pictures by its name, "SpinUp" or "SpinDown", with its olive
// background (red 128, green 128, blue 0) made transparent. An unknown name gives a null pixmap.
QPixmap LoadSpinGlyph(const QString& name);

} // namespace kt63
