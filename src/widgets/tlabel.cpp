#include "tlabel.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

namespace kt63 {

namespace {

// A screen reader reads a label as static text, by its caption: the widget draws the caption
// itself, so Qt would offer it as an unnamed client area.
class LabelAccessible : public QAccessibleWidget
{
public:
    explicit LabelAccessible(TLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(kind);
        return static_cast<const TLabel*>(widget())->Caption();
    }
};

QAccessibleInterface* LabelAccessibleFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String(TLabel::staticMetaObject.className()))
        return nullptr;
    return new LabelAccessible(static_cast<TLabel*>(object));
}

} // namespace

TLabel::TLabel(const QString& caption, QWidget* parent) : QWidget(parent)
{
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(LabelAccessibleFactory);
        return true;
    }();
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
    if (!PaintGlyphs(painter, metrics.ascent()))
        PaintCharacters(painter, metrics);
}

// The glyphs of the label's font, each centred in its cell, drawn in one run: each character's
// advance is read from the font once, where laying out every character as text of its own
// would shape it twice. Gives false, drawing nothing, when the font lacks a character.
bool TLabel::PaintGlyphs(QPainter& painter, qreal baseline) const
{
    const QRawFont font = QRawFont::fromFont(this->font());
    const QList<quint32> glyphs = font.glyphIndexesForString(mCaption);
    if (!font.isValid() || glyphs.size() != mCells.size() || glyphs.contains(0))
        return false;
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(mCells.size());
    for (qsizetype i = 0; i < mCells.size(); ++i) {
        const LayoutCell& cell = mCells.at(i);
        positions.append(QPointF(cell.left + (cell.width - advances.at(i).x()) / 2, baseline));
    }
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
    return true;
}

// Each character as text of its own, which takes a character the font lacks from another font.
void TLabel::PaintCharacters(QPainter& painter, const QFontMetricsF& metrics) const
{
    for (const LayoutCell& cell : mCells) {
        const QString character = mCaption.mid(cell.from, cell.length);
        const qreal glyphLeft = cell.left + (cell.width - metrics.horizontalAdvance(character)) / 2;
        painter.drawText(QPointF(glyphLeft, metrics.ascent()), character);
    }
}

} // namespace kt63
