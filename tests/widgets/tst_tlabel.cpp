// A label draws its caption exactly as each character laid out as text of its own, centred in
// its cell of the layout's advance widths, would draw it.

#include "layoutadvance.h"
#include "tlabel.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

using kt63::TLabel;

namespace {

// The caption drawn character by character, each shaped as text of its own.
QImage CharacterByCharacter(const TLabel& label)
{
    QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(label.palette().window().color());
    QPainter painter(&image);
    painter.setFont(label.font());
    painter.setPen(label.palette().windowText().color());
    const QFontMetricsF metrics(label.font());
    const QString caption = label.Caption();
    for (const kt63::LayoutCell& cell : kt63::LayoutCells(caption)) {
        const QString character = caption.mid(cell.from, cell.length);
        const qreal left = cell.left + (cell.width - metrics.horizontalAdvance(character)) / 2;
        painter.drawText(QPointF(left, metrics.ascent()), character);
    }
    return image;
}

} // namespace

class TstTLabel : public QObject
{
    Q_OBJECT

private slots:
    void drawnAsCharacters_data();
    void drawnAsCharacters();
};

void TstTLabel::drawnAsCharacters_data()
{
    QTest::addColumn<QString>("caption");

    QTest::newRow("full-width") << "生産国";
    QTest::newRow("half-width-katakana") << "ｼﾙｴｯﾄ";
    QTest::newRow("spread-with-blanks") << "速度   燃料";
    QTest::newRow("mixed") << "ﾘｽﾄNo.";
    // Characters the Japanese font lacks come from another font, as text would take them.
    QTest::newRow("missing-from-the-font") << "装備 한글 😀";
}

void TstTLabel::drawnAsCharacters()
{
    QFETCH(QString, caption);
    TLabel label(caption);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(13);
    label.setFont(font);
    label.resize(label.TextWidth() + 4, 18);

    const QImage drawn =
        label.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(drawn, CharacterByCharacter(label));
    // A screen reader reads the label as static text by its caption.
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(&label);
    QCOMPARE(heard->role(), QAccessible::StaticText);
    QCOMPARE(heard->text(QAccessible::Name), caption);
}

QTEST_MAIN(TstTLabel)
#include "tst_tlabel.moc"
