#include "buttongrid.h"

namespace kt63 {

QList<QRect> ArrangeButtonGrid(int count, int columns, QSize size, int charHeight)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    const int perColumn = (count + columns - 1) / columns;
    const int width = (size.width() - 10) / columns;
    const int freeHeight = size.height() - charHeight - 5;
    const int height = freeHeight / perColumn;
    // What the rows leave over is shared out above and below them.
    const int top = charHeight + 1 + (freeHeight % perColumn) / 2;
    rects.reserve(count);
    for (int i = 0; i < count; ++i) {
        rects.append(
            QRect((i / perColumn) * width + 8, (i % perColumn) * height + top, width, height));
    }
    return rects;
}

QRect GroupFrameRect(QSize size, int charHeight)
{
    const int top = charHeight / 2 - 1;
    return QRect(0, top, size.width(), size.height() - top);
}

} // namespace kt63
