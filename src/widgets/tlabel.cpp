#include "tlabel.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kt63 {

TLabel::TLabel(const QString& caption, QWidget* parent) : QWidget(parent)
{
    SetCaption(caption);
}

void TLabel::SetCaption(const QString& caption)
{
    mCaption = caption;
    mCells = LayoutCells(mCaption);
    updateGeometry();
    update();
}

QSize TLabel::sizeHint() const
{
    return QSize(TextWidth(), fontMetrics().height());
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this); // its pen is the label's text colour
    const QFontMetricsF metrics(font());
    for (const LayoutCell& cell : mCells) {
        const QString character = mCaption.mid(cell.from, cell.length);
        const qreal glyphLeft = cell.left + (cell.width - metrics.horizontalAdvance(character)) / 2;
        painter.drawText(QPointF(glyphLeft, metrics.ascent()), character);
    }
}

} // namespace kt63
