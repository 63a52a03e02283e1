#include "tspinbutton.h"
#include "ttimerspeedbutton.h"

#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using kt63::TSpinButton;
using kt63::TTimerSpeedButton;

class TestSpinButton : public QObject
{
    Q_OBJECT

private slots:
    void halves();
    void glyphs_data();
    void glyphs();
    void glyphFilesHaveSixteenColours_data();
    void glyphFilesHaveSixteenColours();
    void arrowsPaintTheirGlyphs_data();
    void arrowsPaintTheirGlyphs();
    void clickRouting_data();
    void clickRouting();
    void pressMovesFocus_data();
    void pressMovesFocus();
};

void TestSpinButton::halves()
{
    TSpinButton pair;
    pair.resize(15, 23);
    pair.show();
    QCOMPARE(pair.UpButton()->geometry(), QRect(0, 0, 15, 11));
    QCOMPARE(pair.DownButton()->geometry(), QRect(0, 10, 15, 13));
    pair.resize(4, 23);
    QCOMPARE(pair.width(), 15);
}

void TestSpinButton::glyphs_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<QList<int>>("blackPerRow");

    QTest::newRow("up") << true << QList<int>{0, 1, 3, 5, 7, 0};
    QTest::newRow("down") << false << QList<int>{0, 7, 5, 3, 1, 0};
}

// The triangle is black and centred; everything around it is transparent.
void TestSpinButton::glyphs()
{
    QFETCH(bool, up);
    QFETCH(QList<int>, blackPerRow);
    TSpinButton pair;
    const QImage image = (up ? pair.UpGlyph() : pair.DownGlyph()).toImage();
    QCOMPARE(image.size(), QSize(9, 6));
    for (int y = 0; y < image.height(); ++y) {
        const int black = blackPerRow[y];
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const bool inTriangle = x >= (9 - black) / 2 && x < (9 - black) / 2 + black;
            QCOMPARE(pixel.alpha(), inTriangle ? 255 : 0);
            if (inTriangle) {
                QCOMPARE(pixel.rgb(), qRgb(0, 0, 0));
            }
        }
    }
}

void TestSpinButton::glyphFilesHaveSixteenColours_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("up") << "SpinUp";
    QTest::newRow("down") << "SpinDown";
}

void TestSpinButton::glyphFilesHaveSixteenColours()
{
    QFETCH(QString, name);
    const TSpinButton pair; // registers the glyph resources
    const QImage file(QStringLiteral(":/glyphs/") + name);
    QCOMPARE(file.size(), QSize(9, 6));
    QCOMPARE(file.colorCount(), 16);
    QCOMPARE(file.pixel(0, 0), qRgb(128, 128, 0));
}

void TestSpinButton::arrowsPaintTheirGlyphs_data()
{
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<int>("shift");

    QTest::newRow("raised") << false << 0;
    QTest::newRow("pressed") << true << 1;
}

// The up glyph sits in the middle of its 15 x 11 arrow, one pixel lower right while pressed,
// with the button's face showing through its background.
void TestSpinButton::arrowsPaintTheirGlyphs()
{
    QFETCH(bool, pressed);
    QFETCH(int, shift);
    TSpinButton pair;
    pair.resize(15, 23);
    pair.show();
    TTimerSpeedButton* arrow = pair.UpButton();
    if (pressed) {
        QTest::mousePress(arrow, Qt::LeftButton, {}, QPoint(7, 5));
    }
    const QImage shown = arrow->grab().toImage();
    const QPoint glyph(3 + shift, 2 + shift);
    QCOMPARE(shown.pixel(glyph + QPoint(4, 1)), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(glyph + QPoint(1, 4)), qRgb(0, 0, 0));
    QVERIFY(shown.pixel(glyph) != qRgb(128, 128, 0));
    QVERIFY(shown.pixel(glyph) != qRgb(0, 0, 0));
    if (pressed) {
        QTest::mouseRelease(arrow, Qt::LeftButton, {}, QPoint(7, 5));
    }
}

void TestSpinButton::clickRouting_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("upClicks");
    QTest::addColumn<int>("downClicks");

    QTest::newRow("up-arrow") << true << 1 << 0;
    QTest::newRow("down-arrow") << false << 0 << 1;
}

void TestSpinButton::clickRouting()
{
    QFETCH(bool, up);
    QFETCH(int, upClicks);
    QFETCH(int, downClicks);
    TSpinButton pair;
    pair.resize(15, 23);
    pair.show();
    QSignalSpy upSpy(&pair, &TSpinButton::OnUpClick);
    QSignalSpy downSpy(&pair, &TSpinButton::OnDownClick);
    QTest::mouseClick(up ? pair.UpButton() : pair.DownButton(), Qt::LeftButton, {}, QPoint(7, 5));
    QCOMPARE(upSpy.count(), upClicks);
    QCOMPARE(downSpy.count(), downClicks);
}

void TestSpinButton::pressMovesFocus_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("withFocusControl");
    QTest::addColumn<bool>("targetFocused");

    QTest::newRow("left-button") << Qt::LeftButton << true << true;
    QTest::newRow("right-button") << Qt::RightButton << true << false;
    QTest::newRow("no-focus-control") << Qt::LeftButton << false << false;
}

void TestSpinButton::pressMovesFocus()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, withFocusControl);
    QFETCH(bool, targetFocused);
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* target = new QLineEdit(&window);
    target->move(0, 40);
    auto* pair = new TSpinButton(&window);
    pair->setGeometry(100, 0, 15, 23);
    if (withFocusControl) {
        pair->SetFocusControl(target);
    }
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QVERIFY(other->hasFocus());

    QTest::mousePress(pair->UpButton(), button, {}, QPoint(7, 5));
    QCOMPARE(target->hasFocus(), targetFocused);
    QCOMPARE(other->hasFocus(), !targetFocused);
    QTest::mouseRelease(pair->UpButton(), button, {}, QPoint(7, 5));
}

QTEST_MAIN(TestSpinButton)
#include "tst_tspinbutton.moc"
