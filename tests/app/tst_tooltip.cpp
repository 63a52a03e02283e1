#include "apptestmain.h"
#include "thintwindow.h"
#include "toolbarwindow.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>

#include <memory>

using namespace kt63;
using kt63::test::MoveMouse;
using kt63::test::ToolbarWindow;
using Mode = TooltipController::TimerMode;

namespace {

TooltipController& Tip()
{
    return TApplication::Instance()->Tooltip();
}

// Counts the events of one type that reach a control, to show that cancelling a tooltip lets
// the event through.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type) : mType(type) {}
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == mType)
            ++count;
        return false;
    }

private:
    QEvent::Type mType;
};

} // namespace

// When tooltips come, how long they stay, and what takes them away.
class TestTooltip : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstTooltipAfterShowDelay();
    void timerTimeoutShows();
    void nextButtonAfterShortDelay_data();
    void nextButtonAfterShortDelay();
    void controlWithoutTooltipsInBetween();
    void hiddenTooltipStaysAwayUntilLeft();
    void placedBelowTheControl();
    void input_data();
    void input();
    void outsideThePanel_data();
    void outsideThePanel();
    void overTheTooltipWindow();
    void tooltipsOff();
    void noActiveWindow();

private:
    // Rests the pointer on `button` until its tooltip shows, checking the delay it waits.
    void ShowTooltipOf(int button, int expectedDelay);

    std::unique_ptr<ToolbarWindow> mWin;
};

void TestTooltip::init()
{
    QCursor::setPos(0, 0);
    Tip().Cancel();
    Tip().SetTooltipsOn(true);
    mWin = std::make_unique<ToolbarWindow>();
    QVERIFY(test::ShowActive(mWin->window));
}

void TestTooltip::cleanup()
{
    mWin.reset();
}

void TestTooltip::ShowTooltipOf(int button, int expectedDelay)
{
    MoveMouse(mWin->buttons[button]);
    QCOMPARE(Tip().Control(), mWin->buttons[button]);
    QVERIFY(Tip().Timer().isActive());
    QCOMPARE(Tip().Mode(), Mode::Show);
    QCOMPARE(Tip().Timer().interval(), expectedDelay);
    Tip().TimerExpired();
    QVERIFY(Tip().Window().isVisible());
    QVERIFY(Tip().Active());
    QCOMPARE(Tip().Mode(), Mode::Hide);
    QCOMPARE(Tip().Timer().interval(), 2500);
    QVERIFY(Tip().Timer().isActive());
}

void TestTooltip::firstTooltipAfterShowDelay()
{
    MoveMouse(mWin->buttons[1]);
    QVERIFY(!Tip().Window().isVisible());
    QVERIFY(!Tip().Active());
    ShowTooltipOf(1, 500);
    QCOMPARE(Tip().Window().Text(), QStringLiteral("保存"));
}

void TestTooltip::timerTimeoutShows()
{
    MoveMouse(mWin->buttons[0]);
    auto* timer = const_cast<QTimer*>(&Tip().Timer());
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QVERIFY(Tip().Window().isVisible());
    QCOMPARE(Tip().Window().Text(), QStringLiteral("開く"));
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QVERIFY(!Tip().Window().isVisible());
}

void TestTooltip::nextButtonAfterShortDelay_data()
{
    QTest::addColumn<bool>("hiddenFirst");
    QTest::addColumn<bool>("viaPendingButton");

    QTest::newRow("while-shown") << false << false;
    QTest::newRow("after-hide-delay") << true << false;
    QTest::newRow("across-a-pending-button") << false << true;
}

void TestTooltip::nextButtonAfterShortDelay()
{
    QFETCH(bool, hiddenFirst);
    QFETCH(bool, viaPendingButton);

    ShowTooltipOf(0, 500);
    if (hiddenFirst)
        Tip().TimerExpired();
    if (viaPendingButton)
        MoveMouse(mWin->buttons[2]);
    MoveMouse(mWin->buttons[3]);
    QVERIFY(!Tip().Window().isVisible());
    QVERIFY(Tip().Active());
    ShowTooltipOf(3, 50);
    QCOMPARE(Tip().Window().Text(), QStringLiteral("読み込み"));
}

void TestTooltip::controlWithoutTooltipsInBetween()
{
    ShowTooltipOf(0, 500);
    MoveMouse(mWin->plainLabel);
    QVERIFY(!Tip().Window().isVisible());
    QVERIFY(!Tip().Timer().isActive());
    QCOMPARE(Tip().Control(), nullptr);
    QVERIFY(!Tip().Active());
    ShowTooltipOf(1, 500);
}

void TestTooltip::hiddenTooltipStaysAwayUntilLeft()
{
    ShowTooltipOf(2, 500);
    Tip().TimerExpired();
    QVERIFY(!Tip().Window().isVisible());
    QCOMPARE(Tip().Control(), mWin->buttons[2]);
    QVERIFY(Tip().Active());

    MoveMouse(mWin->buttons[2], QPoint(1, 1));
    MoveMouse(mWin->buttons[2], QPoint(27, 26));
    QVERIFY(!Tip().Timer().isActive());
    QVERIFY(!Tip().Window().isVisible());

    // Onto the panel, which shows tooltips but has no hint: a new, empty tooltip is pending.
    MoveMouse(mWin->panel, QPoint(300, 10));
    QCOMPARE(Tip().Control(), mWin->panel);
    Tip().TimerExpired();
    QVERIFY(!Tip().Window().isVisible());
    QCOMPARE(Tip().Control(), nullptr);
    ShowTooltipOf(2, 500);
    QCOMPARE(Tip().Window().Text(), QStringLiteral("終了"));
}

void TestTooltip::placedBelowTheControl()
{
    ShowTooltipOf(3, 500);
    QToolButton* read = mWin->buttons[3];
    const QPoint topLeft = read->mapToGlobal(QPoint(0, 0));
    const QFontMetrics metrics(QApplication::font("QStatusBar"));
    const QRect text = metrics.boundingRect(QRect(0, 0, read->screen()->geometry().width(), 0),
                                            Qt::TextWordWrap, QStringLiteral("読み込み"));
    QCOMPARE(Tip().Window().font(), QApplication::font("QStatusBar"));
    QCOMPARE(Tip().Window().geometry(),
             QRect(topLeft.x(), topLeft.y() + 28 + 6, text.width() + 6, text.height() + 2));
    QCOMPARE(Tip().Area(), QRect(topLeft, QSize(29, 28)));
}

void TestTooltip::input_data()
{
    QTest::addColumn<int>("kind");

    QTest::newRow("key-press") << int(QEvent::KeyPress);
    QTest::newRow("key-release") << int(QEvent::KeyRelease);
    QTest::newRow("mouse-press") << int(QEvent::MouseButtonPress);
    QTest::newRow("mouse-release") << int(QEvent::MouseButtonRelease);
    QTest::newRow("double-click") << int(QEvent::MouseButtonDblClick);
    QTest::newRow("application-deactivation") << int(QEvent::ApplicationDeactivate);
    QTest::newRow("application-state-change") << int(QEvent::ApplicationStateChange);
}

void TestTooltip::input()
{
    QFETCH(int, kind);
    const auto type = QEvent::Type(kind);
    QToolButton* save = mWin->buttons[1];
    const bool toApplication =
        type == QEvent::ApplicationDeactivate || type == QEvent::ApplicationStateChange;
    QObject* target = toApplication ? static_cast<QObject*>(qApp) : save;
    EventCounter counter(type);
    target->installEventFilter(&counter);

    ShowTooltipOf(1, 500);
    const QPoint at = save->rect().center();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        QKeyEvent key(type, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(target, &key);
    } else if (type == QEvent::ApplicationStateChange) {
        QApplicationStateChangeEvent change(Qt::ApplicationInactive);
        QApplication::sendEvent(target, &change);
    } else if (toApplication) {
        QEvent deactivate(type);
        QApplication::sendEvent(target, &deactivate);
    } else {
        QMouseEvent mouse(type, at, save->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &mouse);
    }
    QVERIFY(!Tip().Window().isVisible());
    QVERIFY(!Tip().Timer().isActive());
    QCOMPARE(Tip().Control(), nullptr);
    QVERIFY(!Tip().Active());
    QCOMPARE(counter.count, 1);
    target->removeEventFilter(&counter);
}

void TestTooltip::outsideThePanel_data()
{
    QTest::addColumn<QString>("control");

    QTest::newRow("plain-label") << "plain";
    QTest::newRow("hinted-label") << "hinted";
    QTest::newRow("disabled-edit") << "disabled";
    QTest::newRow("child-of-hinted") << "child";
    QTest::newRow("window") << "window";
}

void TestTooltip::outsideThePanel()
{
    QFETCH(QString, control);
    const QHash<QString, QWidget*> controls{{"plain", mWin->plainLabel},
                                            {"hinted", mWin->hintedLabel},
                                            {"disabled", mWin->disabledEdit},
                                            {"child", mWin->childOfHinted},
                                            {"window", &mWin->window}};

    MoveMouse(mWin->buttons[0]);
    QVERIFY(Tip().Timer().isActive());
    const QPoint local = control == "window" ? QPoint(390, 290) : QPoint(-1, -1);
    MoveMouse(controls[control], local);
    QVERIFY(!Tip().Timer().isActive());
    QCOMPARE(Tip().Control(), nullptr);
}

// The idle step takes the tooltip away when the pointer ends up on it.
void TestTooltip::overTheTooltipWindow()
{
    // The tooltip must stand clear of the window to be found under the pointer.
    mWin->window.resize(400, 34);
    ShowTooltipOf(0, 500);
    QVERIFY(!mWin->window.frameGeometry().intersects(Tip().Window().geometry()));
    QCursor::setPos(Tip().Window().geometry().center());
    QCOMPARE(QApplication::widgetAt(QCursor::pos()), &Tip().Window());
    TApplication::Instance()->Idle();
    QVERIFY(!Tip().Window().isVisible());
    QCOMPARE(Tip().Control(), nullptr);
}

void TestTooltip::tooltipsOff()
{
    Tip().SetTooltipsOn(false);
    MoveMouse(mWin->buttons[0]);
    Tip().TimerExpired();
    QVERIFY(!Tip().Window().isVisible());
    QCOMPARE(Tip().Control(), nullptr);
    QVERIFY(!Tip().Active());
}

void TestTooltip::noActiveWindow()
{
    MoveMouse(mWin->buttons[0]);
    QApplication::setActiveWindow(nullptr);
    QCOMPARE(QApplication::activeWindow(), nullptr);
    Tip().TimerExpired();
    QVERIFY(!Tip().Window().isVisible());
    QCOMPARE(Tip().Control(), nullptr);
}

KT63_APP_TEST_MAIN(TestTooltip)
#include "tst_tooltip.moc"
