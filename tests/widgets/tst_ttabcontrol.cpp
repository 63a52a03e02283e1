#include "exception.h"
#include "guardedapplication.h"
#include "ttabcontrol.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

using kt63::TTabControl;

namespace {

const QStringList kTabs{"武装①", "武装②", "武装③", "武装④", "武装⑤", "武装⑥", "武装⑦", "武装⑧"};

// A shown tab control of the editor's size that logs its events with the tab index seen.
struct LoggedTabs
{
    QWidget window;
    TTabControl* tabs = new TTabControl(&window);
    QStringList log;
    bool allow = true;

    explicit LoggedTabs(int start)
    {
        window.resize(600, 200);
        tabs->setGeometry(0, 0, 529, 185);
        tabs->SetTabs(kTabs);
        tabs->SetTabIndex(start);
        QObject::connect(tabs, &TTabControl::OnChanging, tabs, [this](bool& allowChange) {
            log.append(QString("changing:%1").arg(tabs->TabIndex()));
            allowChange = allow;
        });
        QObject::connect(tabs, &TTabControl::OnChange, tabs,
                         [this] { log.append(QString("change:%1").arg(tabs->TabIndex())); });
    }

    QTabBar* row() const { return static_cast<QTabBar*>(tabs->Row()); }

    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        window.activateWindow();
        tabs->Row()->setFocus();
        return true;
    }

    void click(int index) const
    {
        QTest::mouseClick(row(), Qt::LeftButton, {}, row()->tabRect(index).center());
    }
};

} // namespace

class TstTTabControl : public QObject
{
    Q_OBJECT

private slots:
    void userClick_data();
    void userClick();
    void keyboard_data();
    void keyboard();
    void tabIndexFromCode_data();
    void tabIndexFromCode();
    void wheelDoesNotSwitch();
    void noAccessKeys();
    void setTabsKeepsSelection();
    void childrenShareTheArea();
    void throwingHandlerKeepsTab();
};

void TstTTabControl::userClick_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("allow");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::addColumn<int>("finalIndex");

    QTest::newRow("another-tab") << 0 << 3 << true << QStringList{"changing:0", "change:3"} << 3;
    QTest::newRow("last-tab") << 2 << 7 << true << QStringList{"changing:2", "change:7"} << 7;
    QTest::newRow("selected-tab") << 2 << 2 << true << QStringList() << 2;
    QTest::newRow("refused") << 0 << 5 << false << QStringList{"changing:0"} << 0;
}

void TstTTabControl::userClick()
{
    QFETCH(int, start);
    QFETCH(int, clicked);
    QFETCH(bool, allow);
    QFETCH(QStringList, expectedLog);
    QFETCH(int, finalIndex);

    LoggedTabs tabs(start);
    tabs.allow = allow;
    QVERIFY(tabs.show());

    tabs.click(clicked);

    QCOMPARE(tabs.log, expectedLog);
    QCOMPARE(tabs.tabs->TabIndex(), finalIndex);
    QCOMPARE(tabs.row()->currentIndex(), finalIndex);
}

void TstTTabControl::keyboard_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("allow");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::addColumn<int>("finalIndex");

    QTest::newRow("right") << 0 << int(Qt::Key_Right) << true
                           << QStringList{"changing:0", "change:1"} << 1;
    QTest::newRow("left") << 4 << int(Qt::Key_Left) << true << QStringList{"changing:4", "change:3"}
                          << 3;
    QTest::newRow("left-at-first") << 0 << int(Qt::Key_Left) << true << QStringList() << 0;
    QTest::newRow("right-at-last") << 7 << int(Qt::Key_Right) << true << QStringList() << 7;
    QTest::newRow("refused") << 3 << int(Qt::Key_Right) << false << QStringList{"changing:3"} << 3;
}

void TstTTabControl::keyboard()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(bool, allow);
    QFETCH(QStringList, expectedLog);
    QFETCH(int, finalIndex);

    LoggedTabs tabs(start);
    tabs.allow = allow;
    QVERIFY(tabs.show());
    QVERIFY(tabs.row()->hasFocus());

    QTest::keyClick(tabs.row(), Qt::Key(key));

    QCOMPARE(tabs.log, expectedLog);
    QCOMPARE(tabs.tabs->TabIndex(), finalIndex);
}

void TstTTabControl::tabIndexFromCode_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("finalIndex");

    QTest::newRow("another-tab") << 6 << 6;
    QTest::newRow("same-tab") << 2 << 2;
    QTest::newRow("past-the-end-ignored") << 8 << 2;
    QTest::newRow("minus-1-ignored") << -1 << 2;
}

void TstTTabControl::tabIndexFromCode()
{
    QFETCH(int, value);
    QFETCH(int, finalIndex);

    LoggedTabs tabs(2);
    tabs.tabs->SetTabIndex(value);

    QCOMPARE(tabs.tabs->TabIndex(), finalIndex);
    QCOMPARE(tabs.log, QStringList());
}

void TstTTabControl::wheelDoesNotSwitch()
{
    LoggedTabs tabs(3);
    QVERIFY(tabs.show());
    const QPoint at = tabs.row()->tabRect(3).center();
    QWheelEvent wheel(at, tabs.row()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(tabs.row(), &wheel);

    QCOMPARE(tabs.tabs->TabIndex(), 3);
    QCOMPARE(tabs.log, QStringList());
}

// "&" in a caption is shown as itself, so no Alt+letter can switch tabs past OnChanging.
void TstTTabControl::noAccessKeys()
{
    LoggedTabs tabs(0);
    tabs.tabs->SetTabs({"&One", "&Two"});
    QVERIFY(tabs.show());

    QTest::keyClick(&tabs.window, Qt::Key_T, Qt::AltModifier);

    QCOMPARE(tabs.tabs->TabIndex(), 0);
    QCOMPARE(tabs.log, QStringList());
    QCOMPARE(tabs.tabs->Tabs(), (QStringList{"&One", "&Two"}));
}

void TstTTabControl::setTabsKeepsSelection()
{
    TTabControl tabs;
    QCOMPARE(tabs.TabIndex(), -1);
    tabs.SetTabs(kTabs);
    QCOMPARE(tabs.TabIndex(), 0);
    tabs.SetTabIndex(5);
    tabs.SetTabs(kTabs.mid(0, 6));
    QCOMPARE(tabs.TabIndex(), 5);
    tabs.SetTabs(kTabs.mid(0, 3));
    QCOMPARE(tabs.TabIndex(), 0);
    tabs.SetTabs({});
    QCOMPARE(tabs.TabIndex(), -1);
}

// The controls of the area are the tab control's own children, measured from its top-left
// corner above the row; the row comes first when tabbing in, then the area's controls.
void TstTTabControl::childrenShareTheArea()
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    before->setGeometry(0, 190, 50, 20);
    auto* tabs = new TTabControl(&window);
    tabs->setGeometry(0, 0, 529, 185);
    tabs->SetTabs(kTabs);
    auto* field = new QLineEdit(tabs);
    field->setGeometry(16, 77, 49, 28);
    auto* row = static_cast<QTabBar*>(tabs->Row());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();

    QCOMPARE(row->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(row->width(), 529);
    QCOMPARE(field->mapTo(tabs, QPoint(0, 0)), QPoint(16, 77));
    QCOMPARE(tabs->childAt(20, 80), field);
    QTest::mouseClick(row, Qt::LeftButton, {}, row->tabRect(4).center());
    QCOMPARE(tabs->TabIndex(), 4);
    QCOMPARE(tabs->childAt(20, 80), field);

    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(row->hasFocus());
    QTest::keyClick(row, Qt::Key_Tab);
    QVERIFY(field->hasFocus());
}

void TstTTabControl::throwingHandlerKeepsTab()
{
    auto* app = kt63::test::GuardedApplication::instance();
    app->caught.clear();
    LoggedTabs tabs(0);
    QVERIFY(tabs.show());
    QObject::connect(tabs.tabs, &TTabControl::OnChange, tabs.tabs,
                     [] { throw kt63::Exception("handler failed"); });

    tabs.click(6);
    QCOMPARE(app->caught, QStringList{"handler failed"});
    QCOMPARE(tabs.tabs->TabIndex(), 6);

    QTest::keyClick(tabs.row(), Qt::Key_Left);
    QCOMPARE(app->caught.size(), 2);
    QCOMPARE(tabs.tabs->TabIndex(), 5);
    QCOMPARE(tabs.log, (QStringList{"changing:0", "change:6", "changing:6", "change:5"}));
}

KT63_GUARDED_TEST_MAIN(TstTTabControl)
#include "tst_ttabcontrol.moc"
