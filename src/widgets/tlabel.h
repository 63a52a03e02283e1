#pragma once

#include "layoutadvance.h"

#include <QWidget>

class QFontMetricsF;
class QPainter;

namespace kt63 {

// Static text in one line, its characters set on the layout's advance widths (layoutadvance.h)
// in the label's font: each glyph centred in its cell, the line at the label's top. It takes
// no focus and no input.
class TLabel : public QWidget
{
    Q_OBJECT

public:
    explicit TLabel(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return mCaption; }
    void SetCaption(const QString& caption);

    // The width the caption takes: the sum of its characters' advance widths.
    int TextWidth() const { return LayoutTextWidth(mCaption); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool PaintGlyphs(QPainter& painter, qreal baseline) const;
    void PaintCharacters(QPainter& painter, const QFontMetricsF& metrics) const;

    QString mCaption;
    QList<LayoutCell> mCells;
};

} // namespace kt63
