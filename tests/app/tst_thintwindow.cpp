#include "thintwindow.h"

#include <QApplication>
#include <QTest>
#include <QToolTip>

using kt63::PlaceTooltip;
using kt63::THintWindow;

class TestHintWindow : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void size_data();
    void size();
    void windowKind();
    void showsWithoutFocus();
};

// The screen is 800 × 600 from (0, 0), or from (-100, 50) in the "offset-screen" rows.
void TestHintWindow::placement_data()
{
    QTest::addColumn<QRect>("control");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("placed");

    const QRect screen(0, 0, 800, 600);
    QTest::newRow("six-below") << QRect(126, 102, 29, 28) << QSize(60, 18) << screen
                               << QRect(126, 136, 60, 18);
    QTest::newRow("ends-at-bottom-edge")
        << QRect(10, 548, 29, 28) << QSize(60, 18) << screen << QRect(10, 582, 60, 18);
    QTest::newRow("one-past-bottom-moves-up")
        << QRect(10, 549, 29, 28) << QSize(60, 18) << screen << QRect(10, 582, 60, 18);
    QTest::newRow("ends-at-right-edge")
        << QRect(740, 100, 29, 28) << QSize(60, 18) << screen << QRect(740, 134, 60, 18);
    QTest::newRow("past-right-moves-left")
        << QRect(760, 100, 29, 28) << QSize(60, 18) << screen << QRect(740, 134, 60, 18);
    QTest::newRow("bottom-right-corner")
        << QRect(780, 590, 20, 10) << QSize(60, 18) << screen << QRect(740, 582, 60, 18);
    QTest::newRow("wider-than-screen-starts-left")
        << QRect(300, 100, 29, 28) << QSize(900, 18) << screen << QRect(0, 134, 900, 18);
    QTest::newRow("higher-than-screen-starts-top")
        << QRect(300, 100, 29, 28) << QSize(60, 700) << screen << QRect(300, 0, 60, 700);
    QTest::newRow("control-left-of-screen")
        << QRect(-40, 100, 29, 28) << QSize(60, 18) << screen << QRect(0, 134, 60, 18);
    const QRect offset(-100, 50, 800, 600);
    QTest::newRow("offset-screen-inside")
        << QRect(-90, 60, 29, 28) << QSize(60, 18) << offset << QRect(-90, 94, 60, 18);
    QTest::newRow("offset-screen-past-bottom-right")
        << QRect(690, 630, 29, 28) << QSize(60, 18) << offset << QRect(640, 632, 60, 18);
}

void TestHintWindow::placement()
{
    QFETCH(QRect, control);
    QFETCH(QSize, size);
    QFETCH(QRect, screen);
    QFETCH(QRect, placed);

    QCOMPARE(PlaceTooltip(control, size, screen), placed);
}

void TestHintWindow::size_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxWidth");

    QTest::newRow("short") << "保存" << 800;
    QTest::newRow("ampersand-is-shown") << "A&B" << 800;
    QTest::newRow("wrapped") << "読み込み 入力箇所に 表示します 読み込み 入力箇所に" << 60;
}

void TestHintWindow::size()
{
    QFETCH(QString, text);
    QFETCH(int, maxWidth);
    THintWindow window;
    const QFontMetrics metrics(QApplication::font("QStatusBar"));
    const QRect measured = metrics.boundingRect(QRect(0, 0, maxWidth, 0), Qt::TextWordWrap, text);

    QCOMPARE(window.SizeFor(text, maxWidth), measured.size() + QSize(6, 2));
    if (text.contains(QLatin1Char('&'))) {
        QVERIFY(window.SizeFor(text, maxWidth).width() >
                window.SizeFor(QString(text).remove(QLatin1Char('&')), maxWidth).width());
    }
    if (maxWidth < 100)
        QVERIFY(window.SizeFor(text, maxWidth).height() > metrics.height() * 2);
}

void TestHintWindow::windowKind()
{
    THintWindow window;
    QCOMPARE(window.windowType(), Qt::ToolTip);
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window.focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.palette().color(QPalette::ToolTipBase),
             QToolTip::palette().color(QPalette::ToolTipBase));
    QCOMPARE(window.font(), QApplication::font("QStatusBar"));
}

void TestHintWindow::showsWithoutFocus()
{
    QWidget owner;
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));

    THintWindow window;
    window.ActivateHint(QRect(10, 20, 60, 18), QStringLiteral("開く"));
    QVERIFY(window.isVisible());
    QCOMPARE(window.geometry(), QRect(10, 20, 60, 18));
    QCOMPARE(window.Text(), QStringLiteral("開く"));
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &owner);
}

QTEST_MAIN(TestHintWindow)
#include "tst_thintwindow.moc"
