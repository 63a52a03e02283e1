// The about box on an X display whose window manager (openbox, started by the test) frames and
// places windows: the box stands centred on the screen, frame included, wherever its owner is.

#include "taboutbox.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using kt63::TAboutBox;

class TestAboutBoxPlacement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void centredInItsFrame_data();
    void centredInItsFrame();

private:
    QTemporaryDir mScratch;
    QProcess mWindowManager;
};

void TestAboutBoxPlacement::initTestCase()
{
    if (QGuiApplication::platformName() != "xcb")
        QSKIP("needs an X display (run under xvfb-run with QT_QPA_PLATFORM=xcb)");
    const QString openbox = QStandardPaths::findExecutable("openbox");
    if (openbox.isEmpty())
        QSKIP("openbox is not installed (scripts/deps.sh installs it)");
    // Openbox runs its start-up command once it manages the display.
    const QString ready = mScratch.filePath("ready");
    mWindowManager.start(openbox, {"--sm-disable", "--startup", "touch " + ready});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 10000);
}

void TestAboutBoxPlacement::cleanupTestCase()
{
    mWindowManager.terminate();
    mWindowManager.waitForFinished();
}

void TestAboutBoxPlacement::centredInItsFrame_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<int>("showings");
    QTest::newRow("owner-top-left") << QRect(10, 30, 650, 450) << 1;
    QTest::newRow("owner-bottom-right") << QRect(600, 500, 650, 450) << 1;
    QTest::newRow("shown-again") << QRect(301, 158, 650, 450) << 2;
}

void TestAboutBoxPlacement::centredInItsFrame()
{
    QFETCH(QRect, owner);
    QFETCH(int, showings);
    QWidget window;
    window.setGeometry(owner);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centre(area.left() + area.width() / 2, area.top() + area.height() / 2);
    const auto offCentre = [&](const QRect& frame) {
        return (QPoint(frame.left() + frame.width() / 2, frame.top() + frame.height() / 2) - centre)
            .manhattanLength();
    };
    TAboutBox box(&window);
    for (int showing = 0; showing < showings; ++showing) {
        box.hide();
        box.show();
        QTRY_VERIFY_WITH_TIMEOUT(box.frameGeometry().size() != box.size(), 5000);
        QTRY_VERIFY2_WITH_TIMEOUT(offCentre(box.frameGeometry()) <= 1,
                                  qPrintable(QString("frame at %1,%2")
                                                 .arg(box.frameGeometry().left())
                                                 .arg(box.frameGeometry().top())),
                                  5000);
    }
}

QTEST_MAIN(TestAboutBoxPlacement)
#include "tst_taboutboxplacement.moc"
