// What software beside the user asks of the window's controls: a screen reader (or any UI
// automation through the accessibility bus) their names, an input method whether they take its
// text.

#include "formfixture.h"

#include "tcombobox.h"
#include "tsdiappform.h"
#include "tspinedit.h"

#include <QAccessible>
#include <QApplication>
#include <QInputMethod>
#include <QMap>
#include <QMetaEnum>
#include <QSet>
#include <QTabWidget>
#include <QTest>

using namespace kt63;

namespace {

// What a screen reader meets in the window: the widget it belongs to (none for a tab or a menu
// item, which have no widget of their own), its role and its name.
struct Reached
{
    QString owner;
    QAccessible::Role role;
    QString name;
};

// The roles of what the user works or reads by name; every other node only holds these
// (client areas, frames, the stack of pages, the status bar, the menus' popups).
const QSet<QAccessible::Role> kControlRoles = {
    QAccessible::Pane,     QAccessible::PageTabList, QAccessible::PageTab,
    QAccessible::Grouping, QAccessible::RadioButton, QAccessible::EditableText,
    QAccessible::ComboBox, QAccessible::PushButton,  QAccessible::MenuItem};

QString Line(const QString& owner, QAccessible::Role role, const QString& name)
{
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(owner, QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role)),
             name);
}

// The table of what the screen reader hears: the owning widget (empty for a tab or a menu
// item), the role and the name.
struct Heard
{
    const char* owner;
    QAccessible::Role role;
    const char* name;
};

const Heard kHeard[] = {
    {"", QAccessible::MenuItem, "ﾌｧｲﾙ(F)"},
    {"", QAccessible::MenuItem, "ﾍﾙﾌﾟ(H)"},
    {"", QAccessible::PageTab, "武装①"},
    {"", QAccessible::PageTab, "武装②"},
    {"", QAccessible::PageTab, "武装③"},
    {"", QAccessible::PageTab, "武装④"},
    {"", QAccessible::PageTab, "武装⑤"},
    {"", QAccessible::PageTab, "武装⑥"},
    {"", QAccessible::PageTab, "武装⑦"},
    {"", QAccessible::PageTab, "武装⑧"},
    {"", QAccessible::PageTab, "輸送"},
    {"", QAccessible::PageTab, "通常"},
    {"ComboBox1", QAccessible::ComboBox, "兵器リスト"},
    {"ComboBox1", QAccessible::EditableText, "兵器リスト"},
    {"ComboBox2", QAccessible::ComboBox, "武装リスト"},
    {"ComboBox2", QAccessible::EditableText, "武装リスト"},
    {"ExitBtn", QAccessible::PushButton, "終了"},
    {"OpenBtn", QAccessible::PushButton, "開く"},
    {"PageControl1", QAccessible::PageTabList, "通常"},
    {"RadioGroup1", QAccessible::Grouping, "登場"},
    {"RadioGroup1", QAccessible::RadioButton, "登場 強制"},
    {"RadioGroup1", QAccessible::RadioButton, "登場 改良"},
    {"RadioGroup1", QAccessible::RadioButton, "登場 通常"},
    {"RadioGroup2", QAccessible::Grouping, "戦域"},
    {"RadioGroup2", QAccessible::RadioButton, "戦域 なし"},
    {"RadioGroup2", QAccessible::RadioButton, "戦域 ｱﾌﾘｶ"},
    {"RadioGroup2", QAccessible::RadioButton, "戦域 ｲｷﾞﾘｽ"},
    {"RadioGroup2", QAccessible::RadioButton, "戦域 ｿﾋﾞｴﾄ"},
    {"RadioGroup2", QAccessible::RadioButton, "戦域 ﾄﾞｲﾂ"},
    {"RadioGroup3", QAccessible::Grouping, "装備"},
    {"RadioGroup3", QAccessible::RadioButton, "装備 1"},
    {"RadioGroup3", QAccessible::RadioButton, "装備 2"},
    {"RadioGroup3", QAccessible::RadioButton, "装備 3"},
    {"RadioGroup3", QAccessible::RadioButton, "装備 4"},
    {"RadioGroup3", QAccessible::RadioButton, "装備 5"},
    {"RadioGroup3", QAccessible::RadioButton, "装備 6"},
    {"RadioGroup4", QAccessible::Grouping, "Ｌｖ"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 1"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 2"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 3"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 4"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 5"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 6"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 7"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 8"},
    {"RadioGroup4", QAccessible::RadioButton, "Ｌｖ 9"},
    {"Read", QAccessible::PushButton, "読み込み"},
    {"SaveBtn", QAccessible::PushButton, "保存"},
    {"SpinEdit0a", QAccessible::EditableText, "武装数"},
    {"SpinEdit0w", QAccessible::EditableText, "生産国"},
    {"SpinEdit1", QAccessible::EditableText, "兵器"},
    {"SpinEdit10a", QAccessible::EditableText, "命中"},
    {"SpinEdit10w", QAccessible::EditableText, "改良２"},
    {"SpinEdit11a", QAccessible::EditableText, "優先 対空 １"},
    {"SpinEdit11w", QAccessible::EditableText, "改良３"},
    {"SpinEdit12a", QAccessible::EditableText, "優先 対空 ２"},
    {"SpinEdit12w", QAccessible::EditableText, "改良４"},
    {"SpinEdit13a", QAccessible::EditableText, "優先 対地 １"},
    {"SpinEdit13w", QAccessible::EditableText, "改良５"},
    {"SpinEdit14a", QAccessible::EditableText, "優先 対地 ２"},
    {"SpinEdit14w", QAccessible::EditableText, "兵員"},
    {"SpinEdit15a", QAccessible::EditableText, "弾数"},
    {"SpinEdit15w", QAccessible::EditableText, "軽砲"},
    {"SpinEdit16a", QAccessible::EditableText, "価格"},
    {"SpinEdit16w", QAccessible::EditableText, "重砲"},
    {"SpinEdit17a", QAccessible::EditableText, "名称"},
    {"SpinEdit17w", QAccessible::EditableText, "空挺"},
    {"SpinEdit18a", QAccessible::EditableText, "ｼﾙｴｯﾄ"},
    {"SpinEdit18w", QAccessible::EditableText, "空輸"},
    {"SpinEdit19a", QAccessible::EditableText, "特殊"},
    {"SpinEdit19w", QAccessible::EditableText, "輸送"},
    {"SpinEdit1a", QAccessible::EditableText, "攻撃力 対空"},
    {"SpinEdit1w", QAccessible::EditableText, "機数"},
    {"SpinEdit2", QAccessible::EditableText, "武装"},
    {"SpinEdit20a", QAccessible::EditableText, "装備種"},
    {"SpinEdit20w", QAccessible::EditableText, "艦載"},
    {"SpinEdit21a", QAccessible::EditableText, "武装種"},
    {"SpinEdit21w", QAccessible::EditableText, "被搭載"},
    {"SpinEdit22w", QAccessible::EditableText, "重量"},
    {"SpinEdit23w", QAccessible::EditableText, "兵種"},
    {"SpinEdit2a", QAccessible::EditableText, "攻撃力 対甲"},
    {"SpinEdit2w", QAccessible::EditableText, "移動能力 速度"},
    {"SpinEdit3", QAccessible::EditableText, "兵器リスト 番号"},
    {"SpinEdit3a", QAccessible::EditableText, "攻撃力 対人"},
    {"SpinEdit3w", QAccessible::EditableText, "移動能力 燃料"},
    {"SpinEdit4", QAccessible::EditableText, "武装リスト 番号"},
    {"SpinEdit4a", QAccessible::EditableText, "攻撃力 対艦"},
    {"SpinEdit4w", QAccessible::EditableText, "防御力 対空"},
    {"SpinEdit5", QAccessible::EditableText, "ﾘｽﾄNo."},
    {"SpinEdit5a", QAccessible::EditableText, "攻撃力 対潜"},
    {"SpinEdit5w", QAccessible::EditableText, "防御力 対地"},
    {"SpinEdit6a", QAccessible::EditableText, "射程 対空 １"},
    {"SpinEdit6w", QAccessible::EditableText, "索敵"},
    {"SpinEdit7a", QAccessible::EditableText, "射程 対空 ２"},
    {"SpinEdit7w", QAccessible::EditableText, "年"},
    {"SpinEdit8a", QAccessible::EditableText, "射程 対地 １"},
    {"SpinEdit8w", QAccessible::EditableText, "月"},
    {"SpinEdit9a", QAccessible::EditableText, "射程 対地 ２"},
    {"SpinEdit9w", QAccessible::EditableText, "改良１"},
    {"TabControl1", QAccessible::PageTabList, "武装①"},
    {"TabSheet1", QAccessible::Pane, "通常"},
    {"TabSheet2", QAccessible::Pane, "輸送"},
};

// The tree as the platform's bridge (AT-SPI, UI Automation) hands it to a screen reader, down
// from the window through every child that is shown. A list's items are the user's data, not
// the window's controls.
void Walk(QAccessibleInterface* node, QMap<QAccessible::Id, Reached>& reached)
{
    if (node->state().invisible)
        return;
    const auto* widget = qobject_cast<const QWidget*>(node->object());
    reached.insert(QAccessible::uniqueId(node), {widget ? test::OwnerName(widget) : QString(),
                                                 node->role(), node->text(QAccessible::Name)});
    if (node->role() == QAccessible::List)
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface* child = node->child(i))
            Walk(child, reached);
    }
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

// Every control on either page of the upper tab control, as the screen reader hears it: its
// role and its name, each named, no two of a kind by the same name.
void TestSdiAppFormAccess::everyControlNamedOnce()
{
    TSDIAppForm& form = mFixture->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QMap<QAccessible::Id, Reached> reached;
    // The last page walked is the first, on which the window opens: a row of tabs is named by
    // its selected tab.
    for (int page = form.PageControl1->count() - 1; page >= 0; --page) {
        form.PageControl1->setCurrentIndex(page);
        Walk(QAccessible::queryAccessibleInterface(&form), reached);
    }

    QStringList heard;
    QSet<QPair<QAccessible::Role, QString>> kindsAndNames;
    for (const Reached& node : std::as_const(reached)) {
        const bool control = kControlRoles.contains(node.role);
        if (control || node.role == QAccessible::StaticText)
            QVERIFY2(!node.name.trimmed().isEmpty(), qPrintable(Line(node.owner, node.role, {})));
        if (!control)
            continue;
        heard.append(Line(node.owner, node.role, node.name));
        QVERIFY2(!kindsAndNames.contains({node.role, node.name}), qPrintable(heard.last()));
        kindsAndNames.insert({node.role, node.name});
    }
    QStringList expected;
    for (const Heard& row : kHeard)
        expected.append(Line(row.owner, row.role, QString::fromUtf8(row.name)));
    heard.sort();
    expected.sort();
    QCOMPARE(heard, expected);
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
