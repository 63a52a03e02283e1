// The editor in a Japanese locale against the same editor in a plain one: the same font files at
// the same sizes, the same main window, and Qt's dialogs in Japanese in both. The locale is read
// by fontconfig when a program starts, so each locale gets a process of its own.

#include <QMap>
#include <QProcess>
#include <QTest>

namespace {

const QString kJapanese = "ja_JP.UTF-8";

// What the probe prints, by the first word of each line.
QMap<QString, QString> ProbeIn(const QString& locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "FC_LANG", "LC_CTYPE", "LC_MESSAGES"})
        environment.remove(name);
    environment.insert("LANG", locale);
    environment.insert("LC_ALL", locale);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(KT63_FONTPROBE_PATH, {});
    QMap<QString, QString> lines;
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0) {
        qWarning("%s", probe.readAllStandardError().constData());
        return lines;
    }
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n'))
        lines.insert(line.section(u' ', 0, 0), line.section(u' ', 1));
    return lines;
}

} // namespace

class TestJapaneseFont : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameInEveryLocale_data();
    void sameInEveryLocale();

private:
    QMap<QString, QString> mPlain;
    QMap<QString, QString> mJapanese;
};

void TestJapaneseFont::initTestCase()
{
    mJapanese = ProbeIn(kJapanese);
    QVERIFY(!mJapanese.isEmpty());
    if (mJapanese.value("locale") != kJapanese)
        QSKIP("the ja_JP.UTF-8 locale is not generated here (Debian's locales; scripts/deps.sh)");
    mPlain = ProbeIn("C.UTF-8");
    QVERIFY(!mPlain.isEmpty());
}

void TestJapaneseFont::sameInEveryLocale_data()
{
    QTest::addColumn<QString>("line");
    // What the line shows in both locales.
    QTest::addColumn<QString>("shows");
    QTest::newRow("window-font") << "window-font"
                                 << "/ipag.ttf pixels=13";
    QTest::newRow("status-bar-font") << "status-bar-font"
                                     << "/ipagp.ttf pixels=13";
    QTest::newRow("window-size") << "window-size"
                                 << "650x";
    QTest::newRow("dialog-text") << "dialog-text"
                                 << "キャンセル";
}

void TestJapaneseFont::sameInEveryLocale()
{
    QFETCH(QString, line);
    QFETCH(QString, shows);
    const QString plain = mPlain.value(line);
    QVERIFY2(plain.contains(shows), qPrintable(plain));
    QCOMPARE(mJapanese.value(line), plain);
}

QTEST_MAIN(TestJapaneseFont)
#include "tst_japanesefont.moc"
