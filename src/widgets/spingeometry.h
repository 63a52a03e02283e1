#pragma once

#include <QRect>
#include <QSize>

namespace kt63 {

// Width of a spin field's arrow pair, which is also the least width the pair may have.
inline constexpr int kSpinButtonWidth = 15;

// The least height of a spin field: its font's line height, a quarter (rounded down) of the
// smaller of that and the system font's line height, four window borders and two pixels.
int SpinMinimumHeight(int lineHeight, int systemLineHeight, int borderHeight);

// Where the arrow pair stands in a field of `fieldSize`, in the coordinates of the field's
// client area (inside its sunken frame).
QRect SpinButtonRect(QSize fieldSize);

// Where text is drawn and edited, in client coordinates: up to two pixels before the arrow pair.
QRect SpinTextArea(QSize clientSize, int pairWidth);

// The up arrow's rectangle inside an arrow pair of `pairSize`: the upper half.
QRect SpinUpRect(QSize pairSize);

// The down arrow's rectangle: from one pixel above the up arrow's bottom edge to the bottom, so
// that the two share a row.
QRect SpinDownRect(QSize pairSize);

} // namespace kt63
