#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace kt63 {

// Places `count` radio buttons of a group of `size` pixels in `columns` columns (at least 1),
// filling each column from top to bottom before the next. `charHeight` is the character height
// of the group's font: the caption takes that much room above the buttons. Button i gets the
// i-th rectangle, in the group's coordinates. No buttons give no rectangles.
QList<QRect> ArrangeButtonGrid(int count, int columns, QSize size, int charHeight);

// The frame of a group of `size`: its top line runs through the middle of the caption (half the
// character height, less one pixel, from the top), above the buttons, which start a pixel below
// the caption.
QRect GroupFrameRect(QSize size, int charHeight);

} // namespace kt63
