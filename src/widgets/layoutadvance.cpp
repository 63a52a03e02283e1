#include "layoutadvance.h"

#include "shiftjislimit.h"

namespace kt63 {

namespace {

constexpr int kBlankAdvance = 6;
constexpr int kSingleByteAdvance = 8;
constexpr int kDoubleByteAdvance = 16;

int LayoutAdvance(QStringView character)
{
    if (character == u" ")
        return kBlankAdvance;
    return ShiftJisLength(character) == 2 ? kDoubleByteAdvance : kSingleByteAdvance;
}

} // namespace

QList<LayoutCell> LayoutCells(QStringView text)
{
    QList<LayoutCell> cells;
    int left = 0;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size() &&
                                         text.at(at + 1).isLowSurrogate()
                                     ? 2
                                     : 1;
        const int width = LayoutAdvance(text.mid(at, length));
        cells.append({at, length, left, width});
        left += width;
        at += length;
    }
    return cells;
}

int LayoutTextWidth(QStringView text)
{
    const QList<LayoutCell> cells = LayoutCells(text);
    return cells.isEmpty() ? 0 : cells.last().left + cells.last().width;
}

} // namespace kt63
