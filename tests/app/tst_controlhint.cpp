#include "controlhint.h"

#include <QTest>
#include <QWidget>

using namespace kt63;

class TestControlHint : public QObject
{
    Q_OBJECT

private slots:
    void splitting_data();
    void splitting();
    void inheritedHint_data();
    void inheritedHint();
    void showHintFollowsContainer_data();
    void showHintFollowsContainer();
    void windowDoesNotFollowItsOwner();
};

void TestControlHint::splitting_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shortHint");
    QTest::addColumn<QString>("longHint");

    QTest::newRow("short-only") << "開く|"
                                << "開く"
                                << "";
    QTest::newRow("short-and-long") << "読み込み|入力箇所に表示します"
                                    << "読み込み"
                                    << "入力箇所に表示します";
    QTest::newRow("no-bar-is-both") << "ﾌｧｲﾙを開く"
                                    << "ﾌｧｲﾙを開く"
                                    << "ﾌｧｲﾙを開く";
    QTest::newRow("long-only") << "|説明"
                               << ""
                               << "説明";
    QTest::newRow("first-bar-splits") << "a|b|c"
                                      << "a"
                                      << "b|c";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    // "ポ" is 0x83 0x7C in code page 932: its second byte is no "|".
    QTest::newRow("double-byte-7C") << "ポート|説明"
                                    << "ポート"
                                    << "説明";
    QTest::newRow("double-byte-7C-no-bar") << "ポート"
                                           << "ポート"
                                           << "ポート";
}

void TestControlHint::splitting()
{
    QFETCH(QString, hint);
    QFETCH(QString, shortHint);
    QFETCH(QString, longHint);

    QCOMPARE(ShortHint(hint), shortHint);
    QCOMPARE(LongHint(hint), longHint);
}

// The window's hint is "窓", its panel's "板"; the control asked about has `own`.
void TestControlHint::inheritedHint_data()
{
    QTest::addColumn<QString>("panelHint");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("found");

    QTest::newRow("own-wins") << "板"
                              << "自"
                              << "自";
    QTest::newRow("container") << "板"
                               << ""
                               << "板";
    QTest::newRow("up-to-window") << ""
                                  << ""
                                  << "窓";
}

void TestControlHint::inheritedHint()
{
    QFETCH(QString, panelHint);
    QFETCH(QString, own);
    QFETCH(QString, found);

    QWidget owner;
    SetControlHint(&owner, QStringLiteral("主"));
    QWidget window(&owner, Qt::Window);
    SetControlHint(&window, QStringLiteral("窓"));
    auto* panel = new QWidget(&window);
    SetControlHint(panel, panelHint);
    auto* control = new QWidget(panel);
    SetControlHint(control, own);

    QCOMPARE(FindHint(control), found);
    QCOMPARE(FindHint(nullptr), QString());
}

void TestControlHint::showHintFollowsContainer_data()
{
    QTest::addColumn<bool>("panelShows");
    QTest::addColumn<bool>("childFollows");
    QTest::addColumn<bool>("childOwn");
    QTest::addColumn<bool>("childShows");
    QTest::addColumn<bool>("grandchildShows");

    QTest::newRow("follows-showing-panel") << true << true << false << true << true;
    QTest::newRow("follows-silent-panel") << false << true << true << false << false;
    QTest::newRow("own-off-under-showing") << true << false << false << false << false;
    QTest::newRow("own-on-under-silent") << false << false << true << true << true;
}

void TestControlHint::showHintFollowsContainer()
{
    QFETCH(bool, panelShows);
    QFETCH(bool, childFollows);
    QFETCH(bool, childOwn);
    QFETCH(bool, childShows);
    QFETCH(bool, grandchildShows);

    QWidget window;
    auto* panel = new QWidget(&window);
    SetShowHint(panel, panelShows);
    auto* child = new QWidget(panel);
    SetShowHint(child, childOwn);
    SetParentShowHint(child, childFollows);
    auto* grandchild = new QWidget(child);

    QVERIFY(!ShowsHints(&window));
    QVERIFY(!ParentShowHint(panel));
    QVERIFY(ParentShowHint(grandchild));
    QCOMPARE(ShowsHints(panel), panelShows);
    QCOMPARE(ShowsHints(child), childShows);
    QCOMPARE(ShowsHints(grandchild), grandchildShows);
}

// A dialog's parent widget is its owner, which is no container of it.
void TestControlHint::windowDoesNotFollowItsOwner()
{
    QWidget owner;
    SetShowHint(&owner, true);
    QWidget dialog(&owner, Qt::Dialog);
    auto* child = new QWidget(&dialog);

    QVERIFY(ShowsHints(&owner));
    QVERIFY(!ShowsHints(&dialog));
    QVERIFY(!ShowsHints(child));
    SetControlHint(&owner, QStringLiteral("主"));
    QCOMPARE(FindHint(child), QString());
}

QTEST_MAIN(TestControlHint)
#include "tst_controlhint.moc"
