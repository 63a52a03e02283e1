#include "spincharfilter.h"

#include <QTest>

using kt63::AcceptsSpinCharacter;

class TestSpinCharFilter : public QObject
{
    Q_OBJECT

private slots:
    void characters_data();
    void characters();
};

void TestSpinCharFilter::characters_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("typingAccepted");
    QTest::addColumn<bool>("noTypingAccepted");

    const QString point = QStringLiteral(".");
    QTest::newRow("digit-zero") << QChar(u'0') << point << true << false;
    QTest::newRow("digit-nine") << QChar(u'9') << point << true << false;
    QTest::newRow("plus") << QChar(u'+') << point << true << false;
    QTest::newRow("minus") << QChar(u'-') << point << true << false;
    QTest::newRow("locale-point") << QChar(u'.') << point << true << false;
    QTest::newRow("comma-not-separator") << QChar(u',') << point << false << false;
    QTest::newRow("comma-separator") << QChar(u',') << QStringLiteral(",") << true << false;
    QTest::newRow("point-not-separator") << QChar(u'.') << QStringLiteral(",") << false << false;
    QTest::newRow("letter") << QChar(u'a') << point << false << false;
    QTest::newRow("hex-prefix") << QChar(u'$') << point << false << false;
    QTest::newRow("blank") << QChar(u' ') << point << false << false;
    QTest::newRow("return") << QChar(u'\r') << point << false << false;
    QTest::newRow("backspace") << QChar(u'\b') << point << true << false;
    QTest::newRow("ctrl-c") << QChar(char16_t{3}) << point << true << true;
    QTest::newRow("ctrl-v") << QChar(char16_t{22}) << point << true << true;
    QTest::newRow("ctrl-x") << QChar(char16_t{24}) << point << true << true;
    QTest::newRow("line-feed") << QChar(u'\n') << point << true << true;
    QTest::newRow("full-width-digit") << QChar(u'１') << point << false << false;
    QTest::newRow("half-width-katakana") << QChar(u'ｱ') << point << false << false;
    QTest::newRow("kanji") << QChar(u'兵') << point << false << false;
}

void TestSpinCharFilter::characters()
{
    QFETCH(QChar, character);
    QFETCH(QString, separator);
    QFETCH(bool, typingAccepted);
    QFETCH(bool, noTypingAccepted);
    QCOMPARE(AcceptsSpinCharacter(character, true, separator), typingAccepted);
    QCOMPARE(AcceptsSpinCharacter(character, false, separator), noTypingAccepted);
}

QTEST_APPLESS_MAIN(TestSpinCharFilter)
#include "tst_spincharfilter.moc"
