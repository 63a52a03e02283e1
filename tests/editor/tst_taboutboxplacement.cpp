// The about box on an X display with a window manager that frames and places windows: the box
// still stands centred on the screen, frame included, wherever its owner stands. The window
// manager (openbox) is started by the test on the display it is given.

#include "taboutbox.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using kt63::TAboutBox;

namespace {

QString Where(const QRect& frame)
{
    return QString("frame %1,%2 %3x%4")
        .arg(frame.left())
        .arg(frame.top())
        .arg(frame.width())
        .arg(frame.height());
}

// How far the frame's centre lies from the middle of the screen's free area, in pixels.
int OffCentre(const QRect& frame)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint screenCentre(area.left() + area.width() / 2, area.top() + area.height() / 2);
    const QPoint frameCentre(frame.left() + frame.width() / 2, frame.top() + frame.height() / 2);
    return (frameCentre - screenCentre).manhattanLength();
}

} // namespace

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
    QVERIFY(mWindowManager.waitForStarted());
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
    TAboutBox box(&window);
    for (int showing = 0; showing < showings; ++showing) {
        box.hide();
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTRY_VERIFY_WITH_TIMEOUT(box.frameGeometry().size() != box.size(), 5000);
        QTRY_VERIFY2_WITH_TIMEOUT(OffCentre(box.frameGeometry()) <= 1,
                                  qPrintable(Where(box.frameGeometry())), 5000);
    }
}

QTEST_MAIN(TestAboutBoxPlacement)
#include "tst_taboutboxplacement.moc"
