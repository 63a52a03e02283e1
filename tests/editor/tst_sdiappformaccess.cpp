// What software beside the user asks of the window's controls: a screen reader (or any UI
// automation through the accessibility bus) their names, an input method whether they take its
// text.

#include "formfixture.h"

#include "tcombobox.h"
#include "tradiogroup.h"
#include "tsdiappform.h"
#include "tspinedit.h"
#include "ttabcontrol.h"

#include <QAccessible>
#include <QApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMap>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace kt63;

namespace {

QString AccessibleName(QWidget* control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

// Whether the control with the focus takes input-method text, asked by event and by call as Qt's
// input method support asks; "disagree" when the two answers differ.
QString FocusTakesInputMethod()
{
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(QGuiApplication::focusObject(), &query);
    const bool byEvent = query.value(Qt::ImEnabled).toBool();
    const bool byCall =
        QGuiApplication::inputMethod()->queryFocusObject(Qt::ImEnabled, {}).toBool();
    return byEvent == byCall ? QString::number(byEvent) : QString("disagree");
}

void CommitToFocus(const QString& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(QGuiApplication::focusObject(), &commit);
}

} // namespace

class TestSdiAppFormAccess : public QObject
{
    Q_OBJECT

private slots:
    void init() { mFixture = std::make_unique<test::FormFixture>(); }
    void cleanup() { mFixture.reset(); }

    void everyControlNamedOnce();
    void namesReadFromTheHeadings_data();
    void namesReadFromTheHeadings();
    void inputMethodOnlyInTheWeaponList_data();
    void inputMethodOnlyInTheWeaponList();

private:
    std::unique_ptr<test::FormFixture> mFixture;
};

// Every control the user can work, on both pages: the fields, the lists, the radio groups (their
// buttons are named by their items within the group) and the two rows of tabs.
void TestSdiAppFormAccess::everyControlNamedOnce()
{
    TSDIAppForm& form = mFixture->form();
    QList<QWidget*> controls{form.TabControl1->Row(), form.PageControl1->tabBar()};
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (qobject_cast<TSpinEdit*>(control) || qobject_cast<TComboBox*>(control) ||
            qobject_cast<TRadioGroup*>(control))
            controls << control;
    }
    QCOMPARE(controls.size(), 2 + 51 + 2 + 4);

    QMap<QString, QString> named; // accessible name -> control
    for (QWidget* control : controls) {
        const QString name = AccessibleName(control);
        const QString owner = test::OwnerName(control);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(owner));
        QVERIFY2(!named.contains(name), qPrintable(name + ": " + named.value(name) + ", " + owner));
        named.insert(name, owner);
    }
}

void TestSdiAppFormAccess::namesReadFromTheHeadings_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("one-heading") << "SpinEdit7w"
                                 << "年";
    QTest::newRow("half-width-heading") << "SpinEdit5"
                                        << "ﾘｽﾄNo.";
    QTest::newRow("heading-to-the-left") << "SpinEdit21a"
                                         << "武装種";
    QTest::newRow("heading-over-two-headings") << "SpinEdit2w"
                                               << "移動能力 速度";
    QTest::newRow("spread-heading") << "SpinEdit1a"
                                    << "攻撃力 対空";
    QTest::newRow("second-of-a-pair") << "SpinEdit7a"
                                      << "射程 対空 ２";
    QTest::newRow("first-of-a-pair") << "SpinEdit13a"
                                     << "優先 対地 １";
    QTest::newRow("second-page") << "SpinEdit21w"
                                 << "被搭載";
    QTest::newRow("weapon-list") << "ComboBox1"
                                 << "兵器リスト";
    QTest::newRow("index-under-the-list-heading") << "SpinEdit3"
                                                  << "兵器リスト 番号";
    QTest::newRow("radio-group") << "RadioGroup4"
                                 << "Ｌｖ";
}

void TestSdiAppFormAccess::namesReadFromTheHeadings()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QCOMPARE(AccessibleName(mFixture->form().findChild<QWidget*>(control)), name);
}

void TestSdiAppFormAccess::inputMethodOnlyInTheWeaponList_data()
{
    QTest::addColumn<QString>("field");
    // What the input method would have composed, then the same keys typed with it off.
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("weapon-number") << "SpinEdit1"
                                   << "４２"
                                   << "42"
                                   << "142";
    QTest::newRow("two-digit-field-on-a-page") << "SpinEdit2w"
                                               << "４２"
                                               << "42"
                                               << "04";
    QTest::newRow("field-in-the-tab-strip") << "SpinEdit1a"
                                            << "４２"
                                            << "42"
                                            << "042";
    QTest::newRow("four-digit-field") << "SpinEdit9w"
                                      << "12345"
                                      << "12345"
                                      << "0123";
}

// The user types a name into the weapon list with the input method on, then clicks a number
// field and types digits: the list took the composed text, the field tells the input method it
// takes none, refuses what is committed to it all the same, and gets the typed digits as keys.
void TestSdiAppFormAccess::inputMethodOnlyInTheWeaponList()
{
    QFETCH(QString, field);
    QFETCH(QString, committed);
    QFETCH(QString, typed);
    QFETCH(QString, textAfter);
    TSDIAppForm& form = mFixture->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QTest::mouseClick(form.ComboBox1, Qt::LeftButton);
    QCOMPARE(QGuiApplication::focusObject(), form.ComboBox1);
    QCOMPARE(FocusTakesInputMethod(), QString("1"));
    CommitToFocus("兵器");
    QCOMPARE(form.ComboBox1->Text(), QString("兵器"));

    auto* number = form.findChild<TSpinEdit*>(field);
    const QString before = number->text();
    QTest::mouseClick(number, Qt::LeftButton, {}, number->ClientRect().center() - QPoint(8, 0));
    QCOMPARE(QGuiApplication::focusObject(), number);
    QCOMPARE(FocusTakesInputMethod(), QString("0"));
    CommitToFocus(committed);
    QCOMPARE(number->text(), before);

    number->end(false);
    QTest::keyClicks(number, typed);
    QCOMPARE(number->text(), textAfter);
}

QTEST_MAIN(TestSdiAppFormAccess)
#include "tst_sdiappformaccess.moc"
