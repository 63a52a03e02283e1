#include "textink.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace kt63::test {

namespace {

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 128;
}

bool ColumnHasInk(const QImage& image, int x, int top, int bottom)
{
    for (int y = top; y <= bottom; ++y) {
        if (IsInk(image.pixel(x, y)))
            return true;
    }
    return false;
}

} // namespace

QImage DrawnOnWhite(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QList<InkRun> InkRuns(const QImage& image, const QRect& area)
{
    const QRect inside = area.intersected(image.rect());
    QList<InkRun> runs;
    for (int x = inside.left(); x <= inside.right(); ++x) {
        if (!ColumnHasInk(image, x, inside.top(), inside.bottom()))
            continue;
        if (!runs.isEmpty() && runs.last().right == x - 1)
            runs.last().right = x;
        else
            runs.append({x, x});
    }
    return runs;
}

QList<InkRun> InkGroups(QList<InkRun> runs, int count)
{
    while (runs.size() > std::max(count, 1)) {
        qsizetype narrowest = 0;
        for (qsizetype i = 1; i + 1 < runs.size(); ++i) {
            if (runs[i + 1].left - runs[i].right < runs[narrowest + 1].left - runs[narrowest].right)
                narrowest = i;
        }
        runs[narrowest].right = runs[narrowest + 1].right;
        runs.removeAt(narrowest + 1);
    }
    return runs;
}

int InkWidth(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 2 * metrics.height(), 2 * metrics.height(),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(metrics.height(), metrics.height()), text);
    painter.end();
    const QList<InkRun> runs = InkRuns(image, image.rect());
    return runs.isEmpty() ? 0 : runs.last().right - runs.first().left + 1;
}

} // namespace kt63::test
