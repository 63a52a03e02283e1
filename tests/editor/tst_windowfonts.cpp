#include "japanesefont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>

// The window's layout was drawn for IPA Gothic and IPA P Gothic at 13 pixels. Linux finds them
// installed, Windows in the program itself: on both the fonts must be the same and measure the
// same, or labels would be cut and overlap the fields beside them.
class TstWindowFonts : public QObject
{
    Q_OBJECT

private slots:
    void measures_data();
    void measures();
};

void TstWindowFonts::measures_data()
{
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("advance");
    QTest::addColumn<int>("height");

    // Fixed pitch: a half-width character takes half a full-width one.
    QTest::newRow("fixed-ascii") << true << "IPAGothic" << "Mk.II 88mm" << 65 << 14;
    QTest::newRow("fixed-half-width-katakana") << true << "IPAGothic" << "ﾀﾝｸ" << 20 << 14;
    QTest::newRow("proportional-ascii") << false << "IPAPGothic" << "Mk.II 88mm" << 72 << 14;
    QTest::newRow("proportional-kanji") << false << "IPAPGothic" << "兵器リスト" << 57 << 14;
}

void TstWindowFonts::measures()
{
    QFETCH(bool, fixed);
    QFETCH(QString, family);
    QFETCH(QString, text);
    QFETCH(int, advance);
    QFETCH(int, height);

    const QFont font = fixed ? kt63::JapaneseFixedFont(13) : kt63::JapaneseFont(13);
    const QFontMetrics metrics(font);
    QCOMPARE(QFontInfo(font).family().remove(u' '), family);
    QCOMPARE(metrics.horizontalAdvance(text), advance);
    QCOMPARE(metrics.height(), height);
}

QTEST_MAIN(TstWindowFonts)
#include "tst_windowfonts.moc"
