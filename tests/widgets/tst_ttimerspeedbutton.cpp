#include "ttimerspeedbutton.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using kt63::TTimerSpeedButton;

namespace {

const QPoint kInside(7, 5);
const QPoint kOutside(40, 5);

// Stands for the repeat timer running out, without waiting for it.
void FireRepeatTimer(TTimerSpeedButton& button)
{
    QTimer* timer = button.RepeatTimer();
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

} // namespace

class TestTimerSpeedButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void holding_data();
    void holding();
    void dragOffPauses_data();
    void dragOffPauses();
    void rightButtonDoesNothing();
    void throwingRepeatStopsTimer();
    void throwingReleaseClickStopsTimer();
    void hidingCancelsPress();

private:
    TTimerSpeedButton* mButton = nullptr;
};

void TestTimerSpeedButton::init()
{
    mButton = new TTimerSpeedButton;
    mButton->resize(15, 11);
    mButton->show();
}

void TestTimerSpeedButton::cleanup()
{
    delete mButton;
    mButton = nullptr;
}

// Each firing stands for one timer period: the first at 400 ms, then every 100 ms.
void TestTimerSpeedButton::holding_data()
{
    QTest::addColumn<int>("firings");
    QTest::addColumn<int>("clicksWhileHeld");

    QTest::newRow("short-click") << 0 << 0;
    QTest::newRow("held-400ms") << 1 << 1;
    QTest::newRow("held-500ms") << 2 << 2;
    QTest::newRow("held-1s") << 7 << 7;
}

void TestTimerSpeedButton::holding()
{
    QFETCH(int, firings);
    QFETCH(int, clicksWhileHeld);
    QSignalSpy clicks(mButton, &TTimerSpeedButton::OnClick);
    QSignalSpy downs(mButton, &TTimerSpeedButton::OnMouseDown);

    QTest::mousePress(mButton, Qt::LeftButton, {}, kInside);
    QCOMPARE(downs.count(), 1);
    QVERIFY(mButton->IsShownPressed());
    QCOMPARE(mButton->RepeatTimer()->interval(), 400);
    for (int i = 0; i < firings; ++i) {
        FireRepeatTimer(*mButton);
        QCOMPARE(mButton->RepeatTimer()->interval(), 100);
    }
    QCOMPARE(clicks.count(), clicksWhileHeld);

    QTest::mouseRelease(mButton, Qt::LeftButton, {}, kInside);
    QCOMPARE(clicks.count(), clicksWhileHeld + 1);
    QVERIFY(!mButton->RepeatTimer()->isActive());
    QVERIFY(!mButton->IsShownPressed());
}

void TestTimerSpeedButton::dragOffPauses_data()
{
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("clicksAfterRelease");

    QTest::newRow("released-over") << kInside << 3;
    QTest::newRow("released-off") << kOutside << 2;
}

void TestTimerSpeedButton::dragOffPauses()
{
    QFETCH(QPoint, releaseAt);
    QFETCH(int, clicksAfterRelease);
    QSignalSpy clicks(mButton, &TTimerSpeedButton::OnClick);

    QTest::mousePress(mButton, Qt::LeftButton, {}, kInside);
    FireRepeatTimer(*mButton);
    QCOMPARE(clicks.count(), 1);

    QTest::mouseMove(mButton, kOutside);
    QVERIFY(!mButton->IsShownPressed());
    FireRepeatTimer(*mButton);
    FireRepeatTimer(*mButton);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(mButton->RepeatTimer()->isActive());

    QTest::mouseMove(mButton, kInside);
    QVERIFY(mButton->IsShownPressed());
    FireRepeatTimer(*mButton);
    QCOMPARE(clicks.count(), 2);

    QTest::mouseMove(mButton, releaseAt);
    QTest::mouseRelease(mButton, Qt::LeftButton, {}, releaseAt);
    QCOMPARE(clicks.count(), clicksAfterRelease);
    QVERIFY(!mButton->RepeatTimer()->isActive());
}

void TestTimerSpeedButton::rightButtonDoesNothing()
{
    QSignalSpy clicks(mButton, &TTimerSpeedButton::OnClick);
    QSignalSpy downs(mButton, &TTimerSpeedButton::OnMouseDown);

    QTest::mousePress(mButton, Qt::RightButton, {}, kInside);
    QVERIFY(!mButton->IsShownPressed());
    QVERIFY(!mButton->RepeatTimer());
    QTest::mouseRelease(mButton, Qt::RightButton, {}, kInside);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(downs.count(), 0);
}

void TestTimerSpeedButton::throwingRepeatStopsTimer()
{
    int attempts = 0;
    connect(mButton, &TTimerSpeedButton::OnClick, this, [&attempts] {
        ++attempts;
        throw std::runtime_error("step failed");
    });
    QTest::mousePress(mButton, Qt::LeftButton, {}, kInside);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, FireRepeatTimer(*mButton));
    QCOMPARE(attempts, 1);
    QVERIFY(!mButton->RepeatTimer()->isActive());
}

void TestTimerSpeedButton::throwingReleaseClickStopsTimer()
{
    connect(mButton, &TTimerSpeedButton::OnClick, this,
            [] { throw std::runtime_error("step failed"); });
    QTest::mousePress(mButton, Qt::LeftButton, {}, kInside);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             QTest::mouseRelease(mButton, Qt::LeftButton, {}, kInside));
    QVERIFY(!mButton->RepeatTimer()->isActive());
    QVERIFY(!mButton->IsShownPressed());
}

// A hidden button never sees the release; it must not go on stepping unseen.
void TestTimerSpeedButton::hidingCancelsPress()
{
    QSignalSpy clicks(mButton, &TTimerSpeedButton::OnClick);
    QTest::mousePress(mButton, Qt::LeftButton, {}, kInside);
    mButton->hide();
    QVERIFY(!mButton->RepeatTimer()->isActive());
    QVERIFY(!mButton->IsShownPressed());
    mButton->show();
    QTest::mouseRelease(mButton, Qt::LeftButton, {}, kInside);
    QCOMPARE(clicks.count(), 0);
}

QTEST_MAIN(TestTimerSpeedButton)
#include "tst_ttimerspeedbutton.moc"
