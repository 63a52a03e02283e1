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

bool FocusTakesInputMethod()
{
    return QGuiApplication::inputMethod()->queryFocusObject(Qt::ImEnabled, {}).toBool();
}

} // namespace

class TestSdiAppFormAccess : public QObject
{
    Q_OBJECT

private slots:
    void init() { mFixture = std::make_unique<test::FormFixture>(); }
    void cleanup() { mFixture.reset(); }

    void everyControlNamedOnce();
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
    // Each named by the headings the user reads over it, so that a name given to the wrong field
    // shows here.
    QCOMPARE(named.value("移動能力 速度"), QString("SpinEdit2w"));
    QCOMPARE(named.value("攻撃力 対空"), QString("SpinEdit1a"));
}

// An input method keeps one state per window: switched on in the weapon list, it must still be
// told to stay out of the number field that the user clicks next.
void TestSdiAppFormAccess::inputMethodOnlyInTheWeaponList()
{
    TSDIAppForm& form = mFixture->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    QTest::mouseClick(form.ComboBox1, Qt::LeftButton);
    QCOMPARE(QGuiApplication::focusObject(), form.ComboBox1);
    QVERIFY(FocusTakesInputMethod());

    QTest::mouseClick(form.SpinEdit1, Qt::LeftButton, {}, QPoint(20, 14));
    QCOMPARE(QGuiApplication::focusObject(), form.SpinEdit1);
    QVERIFY(!FocusTakesInputMethod());
}

QTEST_MAIN(TestSdiAppFormAccess)
#include "tst_sdiappformaccess.moc"
