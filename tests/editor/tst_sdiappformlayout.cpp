// The main window's controls against the layout tables: place, size, limits, texts and the
// order in which Tab walks them.

#include "formfixture.h"

#include "controlhint.h"
#include "tcombobox.h"
#include "textink.h"
#include "tgroupbutton.h"
#include "tlabel.h"
#include "tradiogroup.h"
#include "tsdiappform.h"
#include "tspinbutton.h"
#include "tspinedit.h"
#include "ttabcontrol.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QImage>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kt63;

class TestSdiAppFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void init() { mFixture = std::make_unique<test::FormFixture>(); }
    void cleanup() { mFixture.reset(); }

    void spinFields_data();
    void spinFields();
    void labels_data();
    void labels();
    void headingsStandOverTheirFields_data();
    void headingsStandOverTheirFields();
    void widestValuesShowWhole();
    void radioGroups_data();
    void radioGroups();
    void containers_data();
    void containers();
    void toolButtons_data();
    void toolButtons();
    void window();
    void menu();
    void openDialog();
    void tabWalk();
    void resizeKeepsTheControls();
    void nameListFillsTheWeaponList_data();
    void nameListFillsTheWeaponList();

private:
    template <class T> T* Control(const QString& name)
    {
        T* control = mFixture->form().findChild<T*>(name);
        if (!control)
            qFatal("no control %s", qPrintable(name));
        return control;
    }

    std::unique_ptr<test::FormFixture> mFixture;
};

void TestSdiAppFormLayout::spinFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<int>("initial");
    QTest::newRow("SpinEdit1") << "SpinEdit1" << QRect(0, 104, 57, 28) << 1 << 1921 << 4 << 1;
    QTest::newRow("SpinEdit2") << "SpinEdit2" << QRect(0, 272, 57, 28) << 0 << 1920 << 4 << 0;
    QTest::newRow("SpinEdit3") << "SpinEdit3" << QRect(0, 56, 57, 28) << 0 << 2800 << 4 << 0;
    QTest::newRow("SpinEdit4") << "SpinEdit4" << QRect(288, 56, 49, 28) << 0 << 800 << 3 << 0;
    QTest::newRow("SpinEdit7w") << "SpinEdit7w" << QRect(520, 104, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit8w") << "SpinEdit8w" << QRect(520, 152, 41, 28) << 1 << 12 << 2 << 1;
    QTest::newRow("SpinEdit5") << "SpinEdit5" << QRect(0, 397, 57, 28) << 0 << 561 << 4 << 0;
    QTest::newRow("SpinEdit9w") << "SpinEdit9w" << QRect(592, 216, 57, 28) << 0 << 1921 << 4 << 0;
    QTest::newRow("SpinEdit10w") << "SpinEdit10w" << QRect(592, 262, 57, 28) << 0 << 1921 << 4 << 0;
    QTest::newRow("SpinEdit11w") << "SpinEdit11w" << QRect(592, 307, 57, 28) << 0 << 1921 << 4 << 0;
    QTest::newRow("SpinEdit12w") << "SpinEdit12w" << QRect(592, 352, 57, 28) << 0 << 1921 << 4 << 0;
    QTest::newRow("SpinEdit13w") << "SpinEdit13w" << QRect(592, 397, 57, 28) << 0 << 1921 << 4 << 0;
    QTest::newRow("SpinEdit22w") << "SpinEdit22w" << QRect(248, 211, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit20a") << "SpinEdit20a" << QRect(16, 208, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit23w") << "SpinEdit23w" << QRect(8, 152, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit0w") << "SpinEdit0w" << QRect(8, 44, 41, 28) << 0 << 31 << 2 << 0;
    QTest::newRow("SpinEdit1w") << "SpinEdit1w" << QRect(56, 44, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit2w") << "SpinEdit2w" << QRect(120, 44, 41, 28) << 0 << 64 << 2 << 0;
    QTest::newRow("SpinEdit3w") << "SpinEdit3w" << QRect(168, 44, 49, 28) << 0 << 999 << 3 << 0;
    QTest::newRow("SpinEdit4w") << "SpinEdit4w" << QRect(224, 44, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit5w") << "SpinEdit5w" << QRect(272, 44, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit6w") << "SpinEdit6w" << QRect(328, 44, 41, 28) << 0 << 16 << 2 << 0;
    QTest::newRow("SpinEdit14w") << "SpinEdit14w" << QRect(8, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit15w") << "SpinEdit15w" << QRect(48, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit16w") << "SpinEdit16w" << QRect(88, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit17w") << "SpinEdit17w" << QRect(136, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit18w") << "SpinEdit18w" << QRect(176, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit19w") << "SpinEdit19w" << QRect(216, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit20w") << "SpinEdit20w" << QRect(256, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit21w") << "SpinEdit21w" << QRect(304, 48, 41, 28) << 0 << 0 << 2 << 0;
    QTest::newRow("SpinEdit0a") << "SpinEdit0a" << QRect(16, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit1a") << "SpinEdit1a" << QRect(72, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit2a") << "SpinEdit2a" << QRect(120, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit3a") << "SpinEdit3a" << QRect(168, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit4a") << "SpinEdit4a" << QRect(216, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit5a") << "SpinEdit5a" << QRect(264, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit6a") << "SpinEdit6a" << QRect(320, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit7a") << "SpinEdit7a" << QRect(368, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit8a") << "SpinEdit8a" << QRect(416, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit9a") << "SpinEdit9a" << QRect(464, 77, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit21a") << "SpinEdit21a" << QRect(456, 105, 65, 28) << 0 << 65535 << 5
                                 << 0;
    QTest::newRow("SpinEdit10a") << "SpinEdit10a" << QRect(16, 149, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit11a") << "SpinEdit11a" << QRect(72, 149, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit12a") << "SpinEdit12a" << QRect(120, 149, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit13a") << "SpinEdit13a" << QRect(168, 149, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit14a") << "SpinEdit14a" << QRect(216, 149, 41, 28) << 0 << 99 << 2 << 0;
    QTest::newRow("SpinEdit15a") << "SpinEdit15a" << QRect(272, 149, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit16a") << "SpinEdit16a" << QRect(328, 149, 49, 28) << 0 << 255 << 3 << 0;
    QTest::newRow("SpinEdit17a") << "SpinEdit17a" << QRect(384, 149, 49, 28) << 0 << 800 << 3 << 0;
    QTest::newRow("SpinEdit18a") << "SpinEdit18a" << QRect(432, 149, 49, 28) << 0 << 800 << 3 << 0;
    QTest::newRow("SpinEdit19a") << "SpinEdit19a" << QRect(480, 149, 41, 28) << 0 << 99 << 2 << 0;
}

void TestSdiAppFormLayout::spinFields()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, maxLength);
    QFETCH(int, initial);
    auto* field = Control<TSpinEdit>(name);
    QCOMPARE(field->geometry(), geometry);
    QCOMPARE(field->MinValue(), minValue);
    QCOMPARE(field->MaxValue(), maxValue);
    QCOMPARE(field->MaxLength(), maxLength);
    if (name != "SpinEdit5") // set from the weapon name list file
        QCOMPARE(field->text(), QString::number(initial));
    QVERIFY(field->focusPolicy() & Qt::TabFocus);
    QVERIFY(!field->testAttribute(Qt::WA_InputMethodEnabled));
}

void TestSdiAppFormLayout::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label24") << "Label24" << QPoint(0, 40) << 370
                             << QString("兵器リスト                                   武装リスト");
    QTest::newRow("Label3") << "Label3" << QPoint(0, 88) << 32 << QString("兵器");
    QTest::newRow("Label17") << "Label17" << QPoint(8, 136) << 32 << QString("兵種");
    QTest::newRow("Label19") << "Label19" << QPoint(8, 192) << 48 << QString("装備種");
    QTest::newRow("Label16") << "Label16" << QPoint(248, 195) << 32 << QString("重量");
    QTest::newRow("Label12") << "Label12" << QPoint(0, 256) << 32 << QString("武装");
    QTest::newRow("Label25") << "Label25" << QPoint(0, 381) << 49 << QString("ﾘｽﾄNo.");
    QTest::newRow("Label21") << "Label21" << QPoint(520, 88) << 16 << QString("年");
    QTest::newRow("Label23") << "Label23" << QPoint(520, 136) << 16 << QString("月");
    QTest::newRow("Label5") << "Label5" << QPoint(592, 200) << 48 << QString("改良１");
    QTest::newRow("Label8") << "Label8" << QPoint(592, 246) << 48 << QString("改良２");
    QTest::newRow("Label11") << "Label11" << QPoint(592, 291) << 48 << QString("改良３");
    QTest::newRow("Label13") << "Label13" << QPoint(592, 336) << 48 << QString("改良４");
    QTest::newRow("Label10") << "Label10" << QPoint(592, 381) << 48 << QString("改良５");
    QTest::newRow("Label6") << "Label6" << QPoint(136, 7) << 64 << QString("移動能力");
    QTest::newRow("Label9") << "Label9" << QPoint(240, 7) << 48 << QString("防御力");
    QTest::newRow("Label15") << "Label15" << QPoint(8, 28) << 48 << QString("生産国");
    QTest::newRow("Label1") << "Label1" << QPoint(64, 28) << 32 << QString("機数");
    QTest::newRow("Label2") << "Label2" << QPoint(120, 28) << 82 << QString("速度   燃料");
    QTest::newRow("Label4") << "Label4" << QPoint(224, 28) << 82 << QString("対空   対地");
    QTest::newRow("Label7") << "Label7" << QPoint(328, 28) << 32 << QString("索敵");
    QTest::newRow("Label27") << "Label27" << QPoint(111, 39) << 162
                             << QString("攻         撃          力");
    QTest::newRow("Label29") << "Label29" << QPoint(355, 39) << 110 << QString("射             程");
    QTest::newRow("Label34") << "Label34" << QPoint(16, 61) << 48 << QString("武装数");
    QTest::newRow("Label28") << "Label28" << QPoint(71, 61) << 226
                             << QString("対空   対甲  対人   対艦   対潜");
    QTest::newRow("Label30") << "Label30" << QPoint(339, 61) << 142
                             << QString("対   空        対  地");
    QTest::newRow("Label18") << "Label18" << QPoint(408, 109) << 48 << QString("武装種");
    QTest::newRow("Label32") << "Label32" << QPoint(101, 111) << 116
                             << QString("優              先");
    QTest::newRow("Label31") << "Label31" << QPoint(16, 133) << 32 << QString("命中");
    QTest::newRow("Label33") << "Label33" << QPoint(91, 133) << 142
                             << QString("対   空        対  地");
    QTest::newRow("Label35") << "Label35" << QPoint(272, 133) << 244
                             << QString("弾数    価格    名称  ｼﾙｴｯﾄ  特殊");
    QTest::newRow("Label14") << "Label14" << QPoint(8, 32) << 344
                             << QString("兵員 軽砲 重砲   空挺 空輸  輸送 艦載   被搭載");
}

void TestSdiAppFormLayout::labels()
{
    QFETCH(QString, name);
    QFETCH(QPoint, place);
    QFETCH(int, width);
    QFETCH(QString, text);
    auto* label = Control<TLabel>(name);
    QCOMPARE(label->pos(), place);
    QCOMPARE(label->width(), width);
    QCOMPARE(label->Caption(), text);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    // The text takes the width the layout gives the label, within a few pixels.
    QVERIFY2(qAbs(label->TextWidth() - width) <= 4,
             qPrintable(QString::number(label->TextWidth())));
    // And it is drawn within it.
    const QList<test::InkRun> ink = test::InkRuns(test::DrawnOnWhite(*label), label->rect());
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.first().left >= 0 && ink.last().right < label->TextWidth());
}

void TestSdiAppFormLayout::headingsStandOverTheirFields_data()
{
    QTest::addColumn<QString>("label");
    // One entry per word of the heading, left to right: the field below it, or "first-last" for
    // the run of fields it heads.
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("Label24") << "Label24" << QStringList{"SpinEdit3", "SpinEdit4"};
    QTest::newRow("Label6") << "Label6" << QStringList{"SpinEdit2w-SpinEdit3w"};
    QTest::newRow("Label9") << "Label9" << QStringList{"SpinEdit4w-SpinEdit5w"};
    QTest::newRow("Label2") << "Label2" << QStringList{"SpinEdit2w", "SpinEdit3w"};
    QTest::newRow("Label4") << "Label4" << QStringList{"SpinEdit4w", "SpinEdit5w"};
    QTest::newRow("Label14") << "Label14"
                             << QStringList{"SpinEdit14w", "SpinEdit15w", "SpinEdit16w",
                                            "SpinEdit17w", "SpinEdit18w", "SpinEdit19w",
                                            "SpinEdit20w", "SpinEdit21w"};
    QTest::newRow("Label27") << "Label27" << QStringList{"SpinEdit1a-SpinEdit5a"};
    QTest::newRow("Label29") << "Label29" << QStringList{"SpinEdit6a-SpinEdit9a"};
    QTest::newRow("Label28") << "Label28"
                             << QStringList{"SpinEdit1a", "SpinEdit2a", "SpinEdit3a", "SpinEdit4a",
                                            "SpinEdit5a"};
    QTest::newRow("Label30") << "Label30"
                             << QStringList{"SpinEdit6a-SpinEdit7a", "SpinEdit8a-SpinEdit9a"};
    QTest::newRow("Label32") << "Label32" << QStringList{"SpinEdit11a-SpinEdit14a"};
    QTest::newRow("Label33") << "Label33"
                             << QStringList{"SpinEdit11a-SpinEdit12a", "SpinEdit13a-SpinEdit14a"};
    QTest::newRow("Label35") << "Label35"
                             << QStringList{"SpinEdit15a", "SpinEdit16a", "SpinEdit17a",
                                            "SpinEdit18a", "SpinEdit19a"};
}

// Each word of a heading, as drawn, has its centre over the field or the run of fields it heads.
void TestSdiAppFormLayout::headingsStandOverTheirFields()
{
    QFETCH(QString, label);
    QFETCH(QStringList, fields);
    auto* heading = Control<TLabel>(label);
    const QList<test::InkRun> words = test::InkGroups(
        test::InkRuns(test::DrawnOnWhite(*heading), heading->rect()), int(fields.size()));
    QCOMPARE(words.size(), fields.size());
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QStringList ends = fields[i].split(u'-');
        const int left = Control<TSpinEdit>(ends.first())->x();
        const QRect last = Control<TSpinEdit>(ends.last())->geometry();
        const double centre = heading->x() + (words[i].left + words[i].right + 1) / 2.0;
        QVERIFY2(centre >= left && centre <= last.x() + last.width(),
                 qPrintable(QString("word %1 centred at %2, fields %3 to %4")
                                .arg(i)
                                .arg(centre)
                                .arg(left)
                                .arg(last.x() + last.width())));
    }
}

// The widest value each field can show from a file stands whole in its text area: its upper
// limit, or 255, the largest byte, in the fields without limits.
void TestSdiAppFormLayout::widestValuesShowWhole()
{
    for (TSpinEdit* field : mFixture->form().findChildren<TSpinEdit*>()) {
        const int32_t widest = field->MinValue() == field->MaxValue() ? 255 : field->MaxValue();
        field->SetValue(widest);
        const QImage drawn = test::DrawnOnWhite(*field); // lays out a field of a hidden page
        const QRect client = field->ClientRect();
        const QRect textArea(client.left(), client.top(),
                             client.width() - field->Button()->width() - 2, client.height());
        const QList<test::InkRun> ink = test::InkRuns(drawn, textArea);
        const QString name = field->objectName();
        QVERIFY2(!ink.isEmpty(), qPrintable(name));
        QVERIFY2(ink.last().right - ink.first().left + 1 ==
                     test::InkWidth(QString::number(widest), field->font()),
                 qPrintable(name));
    }
}

void TestSdiAppFormLayout::radioGroups_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("itemIndex");
    QTest::newRow("RadioGroup1") << "RadioGroup1" << QRect(448, 96, 65, 89) << "登場" << 1
                                 << QStringList{"通常", "強制", "改良"} << -1;
    QTest::newRow("RadioGroup2") << "RadioGroup2" << QRect(568, 64, 81, 121) << "戦域" << 1
                                 << QStringList{"なし", "ｿﾋﾞｴﾄ", "ｲｷﾞﾘｽ", "ｱﾌﾘｶ", "ﾄﾞｲﾂ"} << -1;
    QTest::newRow("RadioGroup3") << "RadioGroup3" << QRect(56, 200, 185, 41) << "装備" << 6
                                 << QStringList{"1", "2", "3", "4", "5", "6"} << 0;
    QTest::newRow("RadioGroup4") << "RadioGroup4" << QRect(312, 195, 273, 41) << "Ｌｖ" << 9
                                 << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"} << -1;
}

void TestSdiAppFormLayout::radioGroups()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(int, columns);
    QFETCH(QStringList, items);
    QFETCH(int, itemIndex);
    auto* group = Control<TRadioGroup>(name);
    QCOMPARE(group->geometry(), geometry);
    QCOMPARE(group->Caption(), caption);
    QCOMPARE(group->Columns(), columns);
    QCOMPARE(group->Items(), items);
    QCOMPARE(group->ItemIndex(), itemIndex);
}

void TestSdiAppFormLayout::containers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("PageControl1") << "PageControl1" << QRect(56, 81, 385, 113)
                                  << QStringList{"通常", "輸送"};
    QTest::newRow("TabControl1") << "TabControl1" << QRect(56, 241, 529, 185)
                                 << QStringList{"武装①", "武装②", "武装③", "武装④",
                                                "武装⑤", "武装⑥", "武装⑦", "武装⑧"};
    QTest::newRow("ComboBox1") << "ComboBox1" << QRect(64, 56, 217, 26) << QStringList{};
    QTest::newRow("ComboBox2") << "ComboBox2" << QRect(344, 56, 217, 26) << QStringList{};
}

void TestSdiAppFormLayout::containers()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QStringList, tabs);
    auto* control = Control<QWidget>(name);
    QCOMPARE(control->geometry(), geometry);
    if (auto* pages = qobject_cast<QTabWidget*>(control)) {
        QStringList captions;
        for (int i = 0; i < pages->count(); ++i)
            captions << pages->tabText(i);
        QCOMPARE(captions, tabs);
        QCOMPARE(pages->currentIndex(), 0);
    } else if (auto* strip = qobject_cast<TTabControl*>(control)) {
        QCOMPARE(strip->Tabs(), tabs);
        QCOMPARE(strip->TabIndex(), 0);
    }
}

void TestSdiAppFormLayout::toolButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QSize>("glyph");
    QTest::newRow("OpenBtn") << "OpenBtn" << QRect(11, 2, 28, 28) << "開く|" << QSize(20, 20);
    QTest::newRow("SaveBtn") << "SaveBtn" << QRect(38, 2, 28, 28) << "保存|" << QSize(20, 20);
    QTest::newRow("ExitBtn") << "ExitBtn" << QRect(75, 2, 29, 28) << "終了|" << QSize(20, 20);
    QTest::newRow("Read") << "Read" << QRect(115, 2, 29, 28) << "読み込み|入力箇所に表示します"
                          << QSize(16, 16);
}

void TestSdiAppFormLayout::toolButtons()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, hint);
    QFETCH(QSize, glyph);
    auto* button = Control<QToolButton>(name);
    QCOMPARE(button->parentWidget()->objectName(), QString("SpeedPanel"));
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(ControlHint(button), hint);
    QCOMPARE(button->iconSize(), glyph);
    QVERIFY(!button->icon().isNull());
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QVERIFY(button->text().isEmpty() || button->toolButtonStyle() == Qt::ToolButtonIconOnly);
}

void TestSdiAppFormLayout::window()
{
    TSDIAppForm& form = mFixture->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.objectName(), QString("SDIAppForm"));
    QCOMPARE(form.windowTitle(), QString("KT63UE"));
    QCOMPARE(form.centralWidget()->size(), QSize(650, 450));
    QCOMPARE(form.pos(), QPoint(301, 158));
    QCOMPARE(Control<QFrame>("SpeedPanel")->geometry(), QRect(0, 0, 650, 34));
    auto* status = Control<QStatusBar>("StatusBar");
    QCOMPARE(status->geometry(), QRect(0, 428, 650, 22));
    QVERIFY(status->currentMessage().isEmpty());
    QCOMPARE(form.font().pixelSize(), 13);
    QCOMPARE(status->font().pixelSize(), 13);
    QVERIFY(Control<TComboBox>("ComboBox1")->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(!Control<TComboBox>("ComboBox2")->testAttribute(Qt::WA_InputMethodEnabled));
}

void TestSdiAppFormLayout::menu()
{
    TSDIAppForm& form = mFixture->form();
    const QList<QAction*> menus = form.menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->text(), QString("ﾌｧｲﾙ(&F)"));
    QCOMPARE(menus[1]->text(), QString("ﾍﾙﾌﾟ(&H)"));
    const QList<QAction*> items = form.FileMenu->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0]->text(), QString("開く(&O)..."));
    QCOMPARE(items[1]->text(), QString("上書き保存(&S)..."));
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items[3]->text(), QString("終了(&X)"));
    QCOMPARE(items[3]->shortcut().toString(QKeySequence::NativeText), QString("Alt+X"));
    QCOMPARE(form.About1->text(), QString("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    QCOMPARE(ControlHint(form.OpenItem), QString("ﾌｧｲﾙを開く"));
    QCOMPARE(ControlHint(form.SaveItem), QString("ﾌｧｲﾙを保存"));
    QCOMPARE(ControlHint(form.ExitItem), QString("ｱﾌﾟﾘｹｰｼｮﾝの終了"));
    QCOMPARE(ControlHint(form.About1), QString("ﾊﾞｰｼﾞｮﾝ情報"));
    for (QAction* item : {form.OpenItem, form.SaveItem, form.About1})
        QVERIFY(item->shortcut().isEmpty());
}

void TestSdiAppFormLayout::openDialog()
{
    QFileDialog* dialog = mFixture->form().OpenDialog();
    QCOMPARE(dialog->nameFilters(),
             QStringList({"Qelvint.dll (Qelvint.dll)", "すべてのﾌｧｲﾙ (*.*) (*)"}));
    QCOMPARE(dialog->selectedNameFilter(), QString("Qelvint.dll")); // shown without its pattern
    QCOMPARE(dialog->selectedFiles().value(0).section(u'/', -1), QString("Qelvint.dll"));
}

void TestSdiAppFormLayout::tabWalk()
{
    TSDIAppForm& form = mFixture->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.SpeedPanel);

    // A radio group is entered on its selected button, or on its first while none is selected.
    const QStringList expected = {
        "SpinEdit1",   "SpinEdit2",   "SpinEdit3",   "SpinEdit4",   "ComboBox1",    "ComboBox2",
        "SpinEdit7w",  "SpinEdit8w",  "RadioGroup1", "SpinEdit5",   "TabControl1",  "SpinEdit0a",
        "SpinEdit1a",  "SpinEdit2a",  "SpinEdit3a",  "SpinEdit4a",  "SpinEdit5a",   "SpinEdit6a",
        "SpinEdit7a",  "SpinEdit8a",  "SpinEdit9a",  "SpinEdit10a", "SpinEdit11a",  "SpinEdit16a",
        "SpinEdit15a", "SpinEdit14a", "SpinEdit13a", "SpinEdit12a", "SpinEdit17a",  "SpinEdit18a",
        "SpinEdit19a", "SpinEdit21a", "SpinEdit9w",  "SpinEdit10w", "SpinEdit11w",  "SpinEdit12w",
        "SpinEdit13w", "RadioGroup2", "RadioGroup3", "RadioGroup4", "PageControl1", "SpinEdit1w",
        "SpinEdit6w",  "SpinEdit5w",  "SpinEdit4w",  "SpinEdit3w",  "SpinEdit2w",   "SpinEdit0w",
        "SpinEdit22w", "SpinEdit20a", "SpinEdit23w", "SpinEdit1"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << test::OwnerName(QApplication::focusWidget());
    }
    QCOMPARE(visited, expected);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(test::OwnerName(QApplication::focusWidget()), QString("SpinEdit23w"));

    // With items selected, each group takes its place in the walk on that item.
    form.RadioGroup1->SetItemIndex(1);
    form.RadioGroup2->SetItemIndex(4);
    form.RadioGroup4->SetItemIndex(8);
    form.SpinEdit8w->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.RadioGroup1->Button(1)));
    form.SpinEdit13w->setFocus();
    QStringList groups;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        groups << test::OwnerName(QApplication::focusWidget());
    }
    QCOMPARE(groups, QStringList({"RadioGroup2", "RadioGroup3", "RadioGroup4"}));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.RadioGroup4->Button(8)));

    // On the second page the walk goes through its eight fields instead.
    form.PageControl1->setCurrentIndex(1);
    form.PageControl1->tabBar()->setFocus();
    QStringList second;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        second << test::OwnerName(QApplication::focusWidget());
    }
    QCOMPARE(second,
             QStringList({"SpinEdit14w", "SpinEdit15w", "SpinEdit16w", "SpinEdit17w", "SpinEdit18w",
                          "SpinEdit19w", "SpinEdit20w", "SpinEdit21w", "SpinEdit22w"}));
}

void TestSdiAppFormLayout::resizeKeepsTheControls()
{
    TSDIAppForm& form = mFixture->form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int menuHeight = form.height() - form.centralWidget()->height();
    form.resize(400, 300 + menuHeight);
    QTRY_COMPARE(form.centralWidget()->size(), QSize(400, 300));
    QCOMPARE(form.SpinEdit13w->geometry(), QRect(592, 397, 57, 28));
    QCOMPARE(form.TabControl1->geometry(), QRect(56, 241, 529, 185));
    QCOMPARE(form.SpeedPanel->geometry(), QRect(0, 0, 400, 34));
    QCOMPARE(form.StatusBar->geometry(), QRect(0, 278, 400, 22));
    form.resize(900, 600 + menuHeight);
    QTRY_COMPARE(form.StatusBar->geometry(), QRect(0, 578, 900, 22));
    QCOMPARE(form.SpinEdit1->geometry(), QRect(0, 104, 57, 28));
}

void TestSdiAppFormLayout::nameListFillsTheWeaponList_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("listNumber");
    // A name cut after the lead byte of a double-byte character, then one that must come out
    // whole; the list number 600 is shown at the field's limit.
    const QByteArray cut = QByteArray(23, 'a') + "\x95\xBA"; // 兵
    QTest::newRow("cut-then-whole")
        << QByteArray('\0' + cut + '\0' + "\xC0\xDD\xB8\x97\xEB\x8E\xAE" + // ﾀﾝｸ零式
                      QByteArray("\x58\x02", 2))
        << QStringList{QString(23, u'a') + QChar(0xFFFD), "ﾀﾝｸ零式"} << "561";
    QTest::newRow("no-names") << QByteArray("\0\0\0\x05\0", 5) << QStringList() << "5";
}

void TestSdiAppFormLayout::nameListFillsTheWeaponList()
{
    QFETCH(QByteArray, list);
    QTemporaryDir dir;
    QFile file(dir.filePath("WN.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(list) == list.size());
    file.close();
    const QString start = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TSDIAppForm form;
    QDir::setCurrent(start);
    QStringList shown;
    for (int item = 0; item < form.ComboBox1->ItemCount(); ++item)
        shown.append(form.ComboBox1->itemText(item));
    QTEST(shown, "names");
    QTEST(form.SpinEdit5->text(), "listNumber");
}

QTEST_MAIN(TestSdiAppFormLayout)
#include "tst_sdiappformlayout.moc"
