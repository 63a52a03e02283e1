#include "spingeometry.h"

#include <algorithm>

namespace kt63 {

int SpinMinimumHeight(int lineHeight, int systemLineHeight, int borderHeight)
{
    return lineHeight + std::min(lineHeight, systemLineHeight) / 4 + 4 * borderHeight + 2;
}

QRect SpinButtonRect(QSize fieldSize)
{
    return QRect(fieldSize.width() - kSpinButtonWidth - 5, 0, kSpinButtonWidth,
                 fieldSize.height() - 5);
}

QRect SpinTextArea(QSize clientSize, int pairWidth)
{
    return QRect(0, 0, clientSize.width() - pairWidth - 2, clientSize.height() + 1);
}

QRect SpinUpRect(QSize pairSize)
{
    return QRect(0, 0, pairSize.width(), pairSize.height() / 2);
}

QRect SpinDownRect(QSize pairSize)
{
    const int top = SpinUpRect(pairSize).height() - 1;
    return QRect(0, top, pairSize.width(), pairSize.height() - top);
}

} // namespace kt63
