#include "tspinbutton.h"
#include "tspinedit.h"
#include "ttimerspeedbutton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <optional>

using kt63::TSpinEdit;

namespace {

class TextAreaProbe : public TSpinEdit
{
public:
    using QLineEdit::initStyleOption;
};

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

} // namespace

class TestSpinEditGeometry : public QObject
{
    Q_OBJECT

private slots:
    void arrowPair_data();
    void arrowPair();
    void textStopsBeforeArrows();
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

// The rectangle QLineEdit draws and edits text in is the style's contents rectangle less the
// text margins.
void TestSpinEditGeometry::textStopsBeforeArrows()
{
    TextAreaProbe field;
    field.resize(57, 28);
    field.show();
    const QRect client = field.ClientRect();
    QStyleOptionFrame option;
    field.initStyleOption(&option);
    const QRect textArea = field.style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, &field)
                               .marginsRemoved(field.textMargins());
    QCOMPARE(textArea.left(), client.left());
    QCOMPARE(textArea.right(), client.left() + client.width() - 15 - 2 - 1);
    QVERIFY(textArea.right() < field.Button()->x());
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
