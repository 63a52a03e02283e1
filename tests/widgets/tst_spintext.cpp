#include "spintext.h"

#include <QTest>

using kt63::ParseSpinText;

class TestSpinText : public QObject
{
    Q_OBJECT

private slots:
    void validTexts_data();
    void validTexts();
    void invalidTexts_data();
    void invalidTexts();
    void decimalRoundTrip_data();
    void decimalRoundTrip();
};

void TestSpinText::validTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "42" << 42;
    QTest::newRow("leading-blank") << " 42" << 42;
    QTest::newRow("leading-blanks") << "   42" << 42;
    QTest::newRow("plus-sign") << "+42" << 42;
    QTest::newRow("leading-zero") << "042" << 42;
    QTest::newRow("many-leading-zeros") << "000000000000042" << 42;
    QTest::newRow("dollar-upper") << "$2A" << 42;
    QTest::newRow("zero-x-lower") << "0x2a" << 42;
    QTest::newRow("zero-x-upper") << "0X2A" << 42;
    QTest::newRow("x-lower") << "x2a" << 42;
    QTest::newRow("x-upper") << "X2a" << 42;
    QTest::newRow("blank-before-hex") << " $2A" << 42;
    QTest::newRow("single-zero") << "0" << 0;
    QTest::newRow("minus-zero") << "-0" << 0;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("int32-max") << "2147483647" << INT32_MAX;
    QTest::newRow("int32-min") << "-2147483648" << INT32_MIN;
    QTest::newRow("int32-max-padded") << "+0002147483647" << INT32_MAX;
    QTest::newRow("eight-f-is-minus-one") << "$FFFFFFFF" << -1;
    QTest::newRow("hex-sign-bit") << "$80000000" << INT32_MIN;
    QTest::newRow("hex-int32-max") << "0x7fffffff" << INT32_MAX;
    QTest::newRow("nine-digits-one-significant") << "$000000001" << 1;
    QTest::newRow("hex-zeros-only") << "$0000000000" << 0;
    QTest::newRow("zero-x-zero") << "0x0" << 0;
}

void TestSpinText::validTexts()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const kt63::SpinParse expected{true, value};
    QCOMPARE(ParseSpinText(text), expected);
}

void TestSpinText::invalidTexts_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("trailing-blank") << "42 ";
    QTest::newRow("inner-blank") << "4 2";
    QTest::newRow("sign-before-hex") << "-$2A";
    QTest::newRow("plus-before-hex") << "+0x2A";
    QTest::newRow("decimal-point") << "4.0";
    QTest::newRow("trailing-letter") << "12a";
    QTest::newRow("trailing-line-break") << "42\n";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks-only") << "   ";
    QTest::newRow("minus-alone") << "-";
    QTest::newRow("plus-alone") << "+";
    QTest::newRow("dollar-alone") << "$";
    QTest::newRow("zero-x-alone") << "0x";
    QTest::newRow("x-alone") << "X";
    QTest::newRow("double-sign") << "--1";
    QTest::newRow("blank-after-sign") << "- 1";
    QTest::newRow("tab-before") << "\t42";
    QTest::newRow("full-width-digits") << QStringLiteral("４２");
    QTest::newRow("hex-letter-past-f") << "$2G";
    QTest::newRow("hex-digits-in-decimal") << "2A";
    QTest::newRow("int32-max-plus-one") << "2147483648";
    QTest::newRow("int32-min-minus-one") << "-2147483649";
    QTest::newRow("far-too-long") << "99999999999999999999999999";
    QTest::newRow("nine-significant-hex") << "$100000000";
    QTest::newRow("double-prefix") << "$0x1";
}

void TestSpinText::invalidTexts()
{
    QFETCH(QString, text);
    const kt63::SpinParse expected{false, 0};
    QCOMPARE(ParseSpinText(text), expected);
}

// The text a field shows after a write is read back as the same number.
void TestSpinText::decimalRoundTrip_data()
{
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("minus-one") << -1;
    QTest::newRow("year-limit") << 1921;
    QTest::newRow("int32-max") << INT32_MAX;
    QTest::newRow("int32-min") << INT32_MIN;
}

void TestSpinText::decimalRoundTrip()
{
    QFETCH(int, value);
    const kt63::SpinParse expected{true, value};
    QCOMPARE(ParseSpinText(QString::number(value)), expected);
}

QTEST_APPLESS_MAIN(TestSpinText)
#include "tst_spintext.moc"
