#include "tspinbutton.h"
#include "tspinedit.h"
#include "ttimerspeedbutton.h"

#include <QMenuBar>
#include <QTest>

using kt63::TSpinEdit;

class TestSpinEditFocus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void leaving_data();
    void leaving();
    void deactivatingWindowLeavesTextAlone();
    void focusLentToTheMenuBar_data();
    void focusLentToTheMenuBar();
    void entering_data();
    void entering();

private:
    QWidget* mWindow = nullptr;
    TSpinEdit* mFirst = nullptr;
    TSpinEdit* mSecond = nullptr;
};

// Two fields in a window, the first one holding the focus.
void TestSpinEditFocus::init()
{
    mWindow = new QWidget;
    mFirst = new TSpinEdit(mWindow);
    mFirst->setGeometry(0, 0, 57, 28);
    mSecond = new TSpinEdit(mWindow);
    mSecond->setGeometry(0, 40, 57, 28);
    mWindow->show();
    mWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mWindow));
    mFirst->setFocus();
    QVERIFY(mFirst->hasFocus());
}

void TestSpinEditFocus::cleanup()
{
    delete mWindow;
    mWindow = nullptr;
}

void TestSpinEditFocus::leaving_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("above-upper") << 0 << 255 << "300"
                                 << "255";
    QTest::newRow("below-lower") << 1 << 12 << "0"
                                 << "1";
    QTest::newRow("negative-list-number") << 0 << 561 << "-999"
                                          << "0";
    QTest::newRow("hex-above-upper") << 0 << 99 << "$FF"
                                     << "99";
    QTest::newRow("empty") << 1 << 1921 << ""
                           << "1";
    QTest::newRow("letters") << 0 << 99 << "12a"
                             << "0";
    QTest::newRow("leading-zeros-kept") << 0 << 99 << "007"
                                        << "007";
    QTest::newRow("plus-kept") << 0 << 99 << "+5"
                               << "+5";
    QTest::newRow("blank-kept") << 0 << 99 << " 5"
                                << " 5";
    QTest::newRow("hex-inside-kept") << 0 << 99 << "$2A"
                                     << "$2A";
    QTest::newRow("no-limits-kept") << 0 << 0 << "99999"
                                    << "99999";
}

void TestSpinEditFocus::leaving()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(QString, typed);
    QFETCH(QString, textAfter);
    mFirst->SetMinValue(minValue);
    mFirst->SetMaxValue(maxValue);
    mFirst->setText(typed);
    QTest::keyClick(mFirst, Qt::Key_Tab);
    QVERIFY(mSecond->hasFocus());
    QCOMPARE(mFirst->text(), textAfter);
}

// The focus stays with the field while another window is active; it has not been left.
void TestSpinEditFocus::deactivatingWindowLeavesTextAlone()
{
    mFirst->SetMaxValue(255);
    mFirst->setText(QStringLiteral("300"));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(mFirst->text(), QStringLiteral("300"));
}

void TestSpinEditFocus::focusLentToTheMenuBar_data()
{
    QTest::addColumn<bool>("givenBack");
    QTest::addColumn<QString>("textAfter");

    QTest::newRow("menu-closed-focus-back") << true << "300";
    QTest::newRow("focus-on-to-another-field") << false << "255";
}

// Working the menus with the keys lends the focus to the menu bar; the field is left only when
// the focus goes on from there to another control.
void TestSpinEditFocus::focusLentToTheMenuBar()
{
    QFETCH(bool, givenBack);
    QFETCH(QString, textAfter);
    auto* menuBar = new QMenuBar(mWindow);
    menuBar->addMenu(QStringLiteral("File"));
    mFirst->SetMaxValue(255);
    mFirst->setText(QStringLiteral("300"));
    menuBar->setFocus(Qt::MenuBarFocusReason);
    QCOMPARE(mFirst->text(), QStringLiteral("300"));
    if (givenBack) {
        mFirst->setFocus(Qt::MenuBarFocusReason);
    } else {
        mSecond->setFocus(Qt::MouseFocusReason);
    }
    QCOMPARE(mFirst->text(), textAfter);
}

void TestSpinEditFocus::entering_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("autoSelect");
    QTest::addColumn<bool>("allSelected");

    QTest::newRow("tab") << "tab" << true << true;
    QTest::newRow("backtab") << "backtab" << true << true;
    QTest::newRow("left-press-in-text") << "left-press" << true << false;
    QTest::newRow("right-press-in-text") << "right-press" << true << true;
    QTest::newRow("arrow-press") << "arrow-press" << true << true;
    QTest::newRow("tab-without-auto-select") << "tab" << false << false;
    QTest::newRow("arrow-press-without-auto-select") << "arrow-press" << false << false;
}

void TestSpinEditFocus::entering()
{
    QFETCH(QString, how);
    QFETCH(bool, autoSelect);
    QFETCH(bool, allSelected);
    mSecond->setText(QStringLiteral("1234"));
    mSecond->setCursorPosition(1);
    mSecond->SetAutoSelect(autoSelect);
    const QPoint inText(5, mSecond->height() / 2);
    if (how == QLatin1String("tab")) {
        QTest::keyClick(mFirst, Qt::Key_Tab);
    } else if (how == QLatin1String("backtab")) {
        mFirst->setFocus();
        // Shift+Tab from the first field wraps round to the second.
        QTest::keyClick(mFirst, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (how == QLatin1String("left-press")) {
        QTest::mousePress(mSecond, Qt::LeftButton, {}, inText);
    } else if (how == QLatin1String("right-press")) {
        QTest::mousePress(mSecond, Qt::RightButton, {}, inText);
    } else {
        QTest::mousePress(mSecond->Button()->UpButton(), Qt::LeftButton, {}, QPoint(7, 5));
    }
    QVERIFY(mSecond->hasFocus());
    QCOMPARE(mSecond->selectedText(), allSelected ? QStringLiteral("1234") : QString());
}

QTEST_MAIN(TestSpinEditFocus)
#include "tst_tspineditfocus.moc"
