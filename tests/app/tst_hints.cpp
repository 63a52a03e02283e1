#include "apptestmain.h"
#include "controlhint.h"
#include "thintwindow.h"
#include "toolbarwindow.h"

#include <QAbstractEventDispatcher>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <memory>

using namespace kt63;
using kt63::test::MoveMouse;
using kt63::test::ToolbarWindow;

namespace {

TApplication& App()
{
    return *TApplication::Instance();
}

} // namespace

// The texts that reach the tooltip and the status bar, and when the hint handler runs.
class TestHints : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void toolButtons_data();
    void toolButtons();
    void controlsOnTheWay_data();
    void controlsOnTheWay();
    void emptyQueueRunsIdle();
    void pointerOffTheProgram();
    void menuItems_data();
    void menuItems();
    void menuByKeyboard();

private:
    std::unique_ptr<ToolbarWindow> mWin;
    QStringList mCalls; // the hint in force at each run of the handler
};

void TestHints::init()
{
    QCursor::setPos(0, 0);
    App().Tooltip().Cancel();
    App().SetOnHint({});
    App().SetHint(QString());
    mCalls.clear();
    mWin = std::make_unique<ToolbarWindow>();
    QVERIFY(test::ShowActive(mWin->window));
    App().SetOnHint([this] { mCalls << App().Hint(); });
}

void TestHints::cleanup()
{
    App().SetOnHint({});
    mWin.reset();
}

void TestHints::toolButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("status");

    QTest::newRow("OpenBtn") << 0 << "開く"
                             << "";
    QTest::newRow("SaveBtn") << 1 << "保存"
                             << "";
    QTest::newRow("ExitBtn") << 2 << "終了"
                             << "";
    QTest::newRow("Read") << 3 << "読み込み"
                          << "入力箇所に表示します";
}

void TestHints::toolButtons()
{
    QFETCH(int, button);
    QFETCH(QString, tooltip);
    QFETCH(QString, status);
    const QStringList expectedCalls = status.isEmpty() ? QStringList() : QStringList{status};

    MoveMouse(mWin->buttons[button]);
    App().Idle();
    QCOMPARE(App().Hint(), status);
    QCOMPARE(mCalls, expectedCalls);

    TooltipController& tip = App().Tooltip();
    QCOMPARE(tip.Control(), mWin->buttons[button]);
    tip.TimerExpired();
    QVERIFY(tip.Window().isVisible());
    QCOMPARE(tip.Window().Text(), tooltip);
    App().Idle();
    QCOMPARE(mCalls, expectedCalls);
}

// The pointer goes from one control to another with an idle step on each.
void TestHints::controlsOnTheWay_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("plain-to-disabled") << "plain"
                                       << "disabled" << QStringList();
    QTest::newRow("plain-to-hinted") << "plain"
                                     << "hinted" << QStringList{"外の説明"};
    QTest::newRow("hinted-to-plain") << "hinted"
                                     << "plain" << QStringList{"外の説明", ""};
    QTest::newRow("hinted-to-disabled") << "hinted"
                                        << "disabled" << QStringList{"外の説明", ""};
    QTest::newRow("child-takes-container-hint") << "plain"
                                                << "child" << QStringList{"枠の説明"};
    QTest::newRow("same-text-no-second-call") << "container"
                                              << "child" << QStringList{"枠の説明"};
    QTest::newRow("no-bar-long-is-whole") << "child"
                                          << "hinted" << QStringList{"枠の説明", "外の説明"};
}

void TestHints::controlsOnTheWay()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, calls);
    const QHash<QString, QWidget*> controls{{"plain", mWin->plainLabel},
                                            {"disabled", mWin->disabledEdit},
                                            {"hinted", mWin->hintedLabel},
                                            {"container", mWin->hintedContainer},
                                            {"child", mWin->childOfHinted}};

    // A point of the container that none of its children covers.
    const QPoint local = from == "container" ? QPoint(120, 80) : QPoint(-1, -1);
    MoveMouse(controls[from], local);
    App().Idle();
    MoveMouse(controls[to]);
    App().Idle();
    App().Idle();
    QCOMPARE(mCalls, calls);
}

// The idle step hangs on the moment the event queue runs empty.
void TestHints::emptyQueueRunsIdle()
{
    MoveMouse(mWin->hintedLabel);
    QVERIFY(mCalls.isEmpty());
    emit QAbstractEventDispatcher::instance()->aboutToBlock();
    QCOMPARE(mCalls, QStringList{"外の説明"});
}

void TestHints::pointerOffTheProgram()
{
    MoveMouse(mWin->buttons[3]);
    App().Idle();
    QVERIFY(App().Tooltip().Control());
    QCursor::setPos(mWin->window.geometry().bottomRight() + QPoint(50, 50));
    App().Idle();
    QCOMPARE(App().Tooltip().Control(), nullptr);
    QVERIFY(!App().Tooltip().Timer().isActive());
    QCOMPARE(mCalls, (QStringList{"入力箇所に表示します", ""}));
}

// The hint of each item shows while it is highlighted; opening and closing the menu empty it,
// and then the control under the pointer has its say again.
void TestHints::menuItems_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("calls");

    const QString under = QStringLiteral("外の説明");
    QTest::newRow("OpenItem") << 0 << QStringList{under, "", "ﾌｧｲﾙを開く", "", under};
    QTest::newRow("SaveItem") << 1 << QStringList{under, "", "ﾌｧｲﾙを保存", "", under};
    QTest::newRow("separator") << 2 << QStringList{under, "", under};
    QTest::newRow("ExitItem") << 3 << QStringList{under, "", "ｱﾌﾟﾘｹｰｼｮﾝの終了", "", under};
    QTest::newRow("About1") << 4 << QStringList{under, "", "ﾊﾞｰｼﾞｮﾝ情報", "", under};
}

void TestHints::menuItems()
{
    QFETCH(int, item);
    QFETCH(QStringList, calls);
    auto* bar = new QMenuBar(&mWin->window);
    bar->setGeometry(0, 270, 400, 30);
    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    SetControlHint(file->addAction(QStringLiteral("開く(&O)...")), QStringLiteral("ﾌｧｲﾙを開く"));
    SetControlHint(file->addAction(QStringLiteral("上書き保存(&S)...")),
                   QStringLiteral("ﾌｧｲﾙを保存"));
    file->addSeparator();
    SetControlHint(file->addAction(QStringLiteral("終了(&X)")), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"));
    SetControlHint(file->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")),
                   QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

    MoveMouse(mWin->hintedLabel);
    App().Idle();
    file->popup(mWin->window.mapToGlobal(QPoint(200, 40)));
    QCOMPARE(QApplication::activePopupWidget(), file);
    App().Idle();
    QCOMPARE(App().Hint(), QString());
    file->setActiveAction(file->actions().at(item));
    App().Idle();
    App().Idle();
    QCOMPARE(App().Hint(), calls.size() == 5 ? calls[2] : QString());
    file->close();
    App().Idle();
    QCOMPARE(mCalls, calls);
}

void TestHints::menuByKeyboard()
{
    QMenu menu(&mWin->window);
    QAction* first = menu.addAction(QStringLiteral("開く(&O)..."));
    SetControlHint(first, QStringLiteral("ﾌｧｲﾙを開く"));
    QAction* second = menu.addAction(QStringLiteral("上書き保存(&S)..."));
    SetControlHint(second, QStringLiteral("ﾌｧｲﾙを保存"));
    menu.popup(mWin->window.mapToGlobal(QPoint(200, 40)));
    App().Idle();

    QTest::keyClick(&menu, Qt::Key_Down);
    QCOMPARE(menu.activeAction(), first);
    App().Idle();
    QTest::keyClick(&menu, Qt::Key_Down);
    App().Idle();
    QTest::keyClick(&menu, Qt::Key_Escape);
    App().Idle();
    QCOMPARE(mCalls, (QStringList{"ﾌｧｲﾙを開く", "ﾌｧｲﾙを保存", ""}));
}

KT63_APP_TEST_MAIN(TestHints)
#include "tst_hints.moc"
