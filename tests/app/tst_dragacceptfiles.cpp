#include "apptestmain.h"
#include "dragacceptfiles.h"
#include "errorguard.h"
#include "exception.h"

#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <memory>

using namespace kt63;

namespace {

std::unique_ptr<QMimeData> FileDrag(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// Sends a drag enter and, if it was accepted, a drop onto `target`; returns the acceptance.
bool DragAndDrop(QWidget* target, const QMimeData* data, bool* dropAccepted = nullptr)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    if (dropAccepted)
        *dropAccepted = drop.isAccepted();
    return move.isAccepted();
}

} // namespace

class TestDragAcceptFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void filesReachHandler_data();
    void filesReachHandler();
    void refused_data();
    void refused();
    void textStillDropsIntoTextBox();
    void otherWindowsNotTaken();
    void handlerErrorShown();
    void localPathsOnly();

private:
    std::unique_ptr<QWidget> mWindow;
    QLabel* mLabel = nullptr;
    QLineEdit* mEdit = nullptr;
    QList<QStringList> mDrops;
    std::vector<ErrorBoxContent> mBoxes;
};

void TestDragAcceptFiles::init()
{
    mDrops.clear();
    mBoxes.clear();
    SetErrorBoxRunner([this](const ErrorBoxContent& box) { mBoxes.push_back(box); });
    mWindow = std::make_unique<QWidget>();
    mWindow->resize(300, 200);
    mLabel = new QLabel(QStringLiteral("兵器"), mWindow.get());
    mLabel->setGeometry(10, 10, 60, 20);
    mEdit = new QLineEdit(mWindow.get());
    mEdit->setGeometry(10, 50, 100, 24);
    DragAcceptFiles(mWindow.get(), [this](const QStringList& paths) { mDrops << paths; });
    mWindow->show();
}

void TestDragAcceptFiles::cleanup()
{
    mWindow.reset();
    SetErrorBoxRunner({});
}

void TestDragAcceptFiles::filesReachHandler_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("paths");

    const QStringList three{"/data/Qelvint.dll", "/data/b.dll", "/tmp/a copy.dll"};
    QTest::newRow("three-on-window") << "window" << three;
    QTest::newRow("three-on-label") << "label" << three;
    QTest::newRow("three-on-text-box") << "edit" << three;
    QTest::newRow("japanese-name") << "window" << QStringList{"/ゲーム/ﾃﾞｰﾀ.dll"};
    QTest::newRow("path-of-300-characters")
        << "window" << QStringList{"/" + QString(290, QLatin1Char('d')) + "/file.dll"};
}

void TestDragAcceptFiles::filesReachHandler()
{
    QFETCH(QString, target);
    QFETCH(QStringList, paths);
    QWidget* widget = target == "label" ? mLabel : target == "edit" ? mEdit : mWindow.get();
    const auto data = FileDrag(paths);

    bool dropAccepted = false;
    QVERIFY(DragAndDrop(widget, data.get(), &dropAccepted));
    QVERIFY(dropAccepted);
    QCOMPARE(mDrops, QList<QStringList>{paths});
    QCOMPARE(mEdit->text(), QString());
}

void TestDragAcceptFiles::refused_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("plain-text") << "text";
    QTest::newRow("web-address") << "web";
    QTest::newRow("nothing") << "empty";
}

void TestDragAcceptFiles::refused()
{
    QFETCH(QString, kind);
    QMimeData data;
    if (kind == "text")
        data.setText(QStringLiteral("/data/Qelvint.dll"));
    else if (kind == "web")
        data.setUrls({QUrl(QStringLiteral("https://example.org/Qelvint.dll"))});

    QVERIFY(!DragAndDrop(mLabel, &data));
    QVERIFY(!DragAndDrop(mWindow.get(), &data));
    QVERIFY(mDrops.isEmpty());
}

// A drag of text over the text box is the text box's own business, as it was.
void TestDragAcceptFiles::textStillDropsIntoTextBox()
{
    QMimeData data;
    data.setText(QStringLiteral("123"));
    QVERIFY(DragAndDrop(mEdit, &data));
    QCOMPARE(mEdit->text(), QStringLiteral("123"));
    QVERIFY(mDrops.isEmpty());
}

void TestDragAcceptFiles::otherWindowsNotTaken()
{
    QWidget other;
    other.resize(100, 100);
    other.show();
    const auto data = FileDrag({"/data/Qelvint.dll"});
    QVERIFY(!DragAndDrop(&other, data.get()));
    QVERIFY(mDrops.isEmpty());
}

void TestDragAcceptFiles::handlerErrorShown()
{
    QWidget window;
    window.resize(100, 100);
    DragAcceptFiles(
        &window, [](const QStringList& paths) { throw EFOpenError(paths.first().toStdString()); });
    window.show();
    const auto data = FileDrag({"/nowhere/Qelvint.dll"});

    QVERIFY(DragAndDrop(&window, data.get()));
    QCOMPARE(mBoxes.size(), size_t(1));
    QCOMPARE(mBoxes[0].text, QStringLiteral("ﾌｧｲﾙ /nowhere/Qelvint.dll は開けません."));
}

void TestDragAcceptFiles::localPathsOnly()
{
    const QList<QUrl> urls{QUrl::fromLocalFile("/a/1.dll"), QUrl("https://example.org/2.dll"),
                           QUrl::fromLocalFile("/a/3.dll")};
    QCOMPARE(LocalFilePaths(urls), (QStringList{"/a/1.dll", "/a/3.dll"}));
}

KT63_APP_TEST_MAIN(TestDragAcceptFiles)
#include "tst_dragacceptfiles.moc"
