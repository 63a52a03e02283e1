#include "textink.h"
#include "tspinbutton.h"
#include "tspinedit.h"
#include "ttimerspeedbutton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScopeGuard>
#include <QTest>

#include <optional>

using kt63::TSpinEdit;

namespace {

// The application font at a pixel size whose line height is `lineHeight`, if there is one.
std::optional<QFont> FontWithLineHeight(int lineHeight)
{
    QFont font = QApplication::font();
    for (int pixels = 6; pixels < 40; ++pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() == lineHeight) {
            return font;
        }
    }
    return std::nullopt;
}

// The application font at a pixel size at which `text` takes `width` pixels, less at most two.
std::optional<QFont> FontWithTextWidth(const QString& text, int width)
{
    QFont font = QApplication::font();
    for (int pixels = 6; pixels < 40; ++pixels) {
        font.setPixelSize(pixels);
        const int advance = QFontMetrics(font).horizontalAdvance(text);
        if (advance <= width && advance >= width - 2) {
            return font;
        }
    }
    return std::nullopt;
}

} // namespace

class TestSpinEditGeometry : public QObject
{
    Q_OBJECT

private slots:
    void arrowPair_data();
    void arrowPair();
    void valueAsWideAsTheTextAreaShowsWhole();
    void minimumHeight_data();
    void minimumHeight();
};

void TestSpinEditGeometry::arrowPair_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QRect>("pairInClient");

    QTest::newRow("weapon-number") << 57 << QRect(37, 0, 15, 23);
    QTest::newRow("year") << 41 << QRect(21, 0, 15, 23);
    QTest::newRow("armament-list") << 49 << QRect(29, 0, 15, 23);
}

void TestSpinEditGeometry::arrowPair()
{
    QFETCH(int, width);
    QFETCH(QRect, pairInClient);
    TSpinEdit field;
    field.resize(width, 28);
    field.show();
    const QRect client = field.ClientRect();
    const kt63::TSpinButton* pair = field.Button();
    QCOMPARE(pair->geometry().translated(-client.topLeft()), pairInClient);
    QVERIFY(client.contains(pair->geometry()));
    QCOMPARE(pair->UpButton()->geometry(), QRect(0, 0, 15, 11));
    QCOMPARE(pair->DownButton()->geometry(), QRect(0, 10, 15, 13));
}

// A value as wide as the text area shows whole, from the area's left edge: neither QLineEdit's
// own margins nor the column it keeps for the cursor cut into the area.
void TestSpinEditGeometry::valueAsWideAsTheTextAreaShowsWhole()
{
    TSpinEdit field;
    field.resize(41, 28);
    const QRect client = field.ClientRect();
    const int areaWidth = client.width() - 15 - 2;
    const std::optional<QFont> font = FontWithTextWidth(QStringLiteral("888"), areaWidth);
    if (!font) {
        QSKIP("no installed font sets three digits just within the text area");
    }
    field.setFont(*font);
    field.SetValue(888);
    const QRect area(client.left(), client.top(), areaWidth, client.height());
    const QList<kt63::test::InkRun> ink =
        kt63::test::InkRuns(kt63::test::DrawnOnWhite(field), area);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.first().left - area.left() <= 2);
    QCOMPARE(ink.last().right - ink.first().left + 1,
             kt63::test::InkWidth(QStringLiteral("888"), *font));
}

void TestSpinEditGeometry::minimumHeight_data()
{
    QTest::addColumn<int>("systemLineHeight");
    QTest::addColumn<int>("height");

    QTest::newRow("system-font-as-window-font") << 18 << 28;
    QTest::newRow("smaller-system-font") << 14 << 27;
}

void TestSpinEditGeometry::minimumHeight()
{
    QFETCH(int, systemLineHeight);
    QFETCH(int, height);
    const std::optional<QFont> windowFont = FontWithLineHeight(18);
    const std::optional<QFont> systemFont = FontWithLineHeight(systemLineHeight);
    if (!windowFont || !systemFont) {
        QSKIP("no installed font has the line heights this test needs");
    }
    const QFont applicationFont = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(applicationFont); });
    QApplication::setFont(*systemFont);
    TSpinEdit field;
    field.setFont(*windowFont);
    field.resize(57, 20);
    QCOMPARE(field.minimumHeight(), height);
    QCOMPARE(field.height(), height);
}

QTEST_MAIN(TestSpinEditGeometry)
#include "tst_tspineditgeometry.moc"
