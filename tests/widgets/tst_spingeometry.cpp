#include "spingeometry.h"

#include <QTest>

class TestSpinGeometry : public QObject
{
    Q_OBJECT

private slots:
    void minimumHeight_data();
    void minimumHeight();
    void arrowHalves_data();
    void arrowHalves();
};

void TestSpinGeometry::minimumHeight_data()
{
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("systemLineHeight");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("height");

    QTest::newRow("window-font") << 18 << 18 << 1 << 28;
    QTest::newRow("larger-system-font") << 18 << 24 << 1 << 28;
    QTest::newRow("smaller-system-font") << 18 << 14 << 1 << 27;
    QTest::newRow("quarter-rounds-down") << 19 << 19 << 1 << 29;
    QTest::newRow("thick-borders") << 18 << 18 << 2 << 32;
}

void TestSpinGeometry::minimumHeight()
{
    QFETCH(int, lineHeight);
    QFETCH(int, systemLineHeight);
    QFETCH(int, border);
    QFETCH(int, height);
    QCOMPARE(kt63::SpinMinimumHeight(lineHeight, systemLineHeight, border), height);
}

void TestSpinGeometry::arrowHalves_data()
{
    QTest::addColumn<int>("pairHeight");
    QTest::addColumn<QRect>("up");
    QTest::addColumn<QRect>("down");

    QTest::newRow("field-28") << 23 << QRect(0, 0, 15, 11) << QRect(0, 10, 15, 13);
    QTest::newRow("even-height") << 24 << QRect(0, 0, 15, 12) << QRect(0, 11, 15, 13);
    QTest::newRow("tiny") << 3 << QRect(0, 0, 15, 1) << QRect(0, 0, 15, 3);
}

void TestSpinGeometry::arrowHalves()
{
    QFETCH(int, pairHeight);
    QFETCH(QRect, up);
    QFETCH(QRect, down);
    const QSize pair(15, pairHeight);
    QCOMPARE(kt63::SpinUpRect(pair), up);
    QCOMPARE(kt63::SpinDownRect(pair), down);
    // One shared row, and together they cover the pair to its bottom.
    QCOMPARE(up.intersected(down).height(), 1);
    QCOMPARE(down.bottom(), pairHeight - 1);
}

QTEST_APPLESS_MAIN(TestSpinGeometry)
#include "tst_spingeometry.moc"
