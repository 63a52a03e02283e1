#include "spinrange.h"

#include <QTest>

using kt63::BoundSpinValue;

class TestSpinRange : public QObject
{
    Q_OBJECT

private slots:
    void bound_data();
    void bound();
};

void TestSpinRange::bound_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("bounded");

    QTest::newRow("inside") << qint64{7} << 1 << 12 << 7;
    QTest::newRow("at-lower") << qint64{1} << 1 << 12 << 1;
    QTest::newRow("at-upper") << qint64{12} << 1 << 12 << 12;
    QTest::newRow("below-lower") << qint64{0} << 1 << 12 << 1;
    QTest::newRow("above-upper") << qint64{13} << 1 << 12 << 12;
    QTest::newRow("byte-field-300") << qint64{300} << 0 << 255 << 255;
    QTest::newRow("no-limits-keeps-255") << qint64{255} << 0 << 0 << 255;
    QTest::newRow("no-limits-keeps-negative") << qint64{-3} << 0 << 0 << -3;
    QTest::newRow("equal-limits-not-zero") << qint64{-3} << 5 << 5 << -3;
    QTest::newRow("no-limits-saturates-up") << qint64{INT32_MAX} + 1 << 0 << 0 << INT32_MAX;
    QTest::newRow("no-limits-saturates-down") << qint64{INT32_MIN} - 1 << 0 << 0 << INT32_MIN;
    QTest::newRow("full-range-saturates")
        << qint64{INT32_MAX} + 1 << INT32_MIN << INT32_MAX << INT32_MAX;
    QTest::newRow("reversed-below-both") << qint64{3} << 10 << 5 << 10;
    QTest::newRow("reversed-between") << qint64{7} << 10 << 5 << 10;
    QTest::newRow("reversed-above-both") << qint64{12} << 10 << 5 << 5;
}

void TestSpinRange::bound()
{
    QFETCH(qint64, value);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, bounded);
    QCOMPARE(BoundSpinValue(value, minValue, maxValue), bounded);
}

QTEST_APPLESS_MAIN(TestSpinRange)
#include "tst_spinrange.moc"
