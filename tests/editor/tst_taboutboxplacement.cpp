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

// The owner stands off the centre, where a window manager placing the box itself would put it
// over the owner.
void TestAboutBoxPlacement::centredInItsFrame()
{
    QWidget window;
    window.setGeometry(600, 500, 650, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TAboutBox box(&window);
    box.show();
    QTRY_VERIFY_WITH_TIMEOUT(box.frameGeometry().size() != box.size(), 5000);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto offCentre = [&] {
        const QRect frame = box.frameGeometry();
        return QPoint(frame.left() + frame.width() / 2 - area.left() - area.width() / 2,
                      frame.top() + frame.height() / 2 - area.top() - area.height() / 2)
            .manhattanLength();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(offCentre() <= 1,
                              qPrintable(QString("%1 off the centre").arg(offCentre())), 5000);
}

QTEST_MAIN(TestAboutBoxPlacement)
#include "tst_taboutboxplacement.moc"
