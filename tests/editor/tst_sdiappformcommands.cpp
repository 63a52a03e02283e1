// The editor's commands end to end on the sample files: what each command shows and, above
// all, which bytes of which file it writes.

#include "formfixture.h"

#include "datalayout.h"
#include "errorguard.h"
#include "exception.h"
#include "helddatafile.h"
#include "tcombobox.h"
#include "tgroupbutton.h"
#include "tmemorystream.h"
#include "tradiogroup.h"
#include "tsdiappform.h"
#include "tspinedit.h"
#include "ttabcontrol.h"
#include "weaponcodec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

using namespace kt63;

namespace {

using test::ReadFile;
using test::WriteFile;

TMemoryStream MemoryCopy(const QByteArray& bytes)
{
    return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

QByteArray BytesOf(const TMemoryStream& stream)
{
    return QByteArray(reinterpret_cast<const char*>(stream.bytes().data()),
                      static_cast<qsizetype>(stream.bytes().size()));
}

int CountDifferences(const QByteArray& a, const QByteArray& b)
{
    int count = 0;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        count += a[i] != b[i];
    return count + static_cast<int>(std::abs(a.size() - b.size()));
}

// What the window shows of stored values: the narrower fields held within their limits.
template <class Values> struct Shown
{
    int32_t Values::*value;
    int32_t low, high;
};
const Shown<WeaponValues> kShownWeapon[] = {{&WeaponValues::ProducingCountry, 0, 31},
                                            {&WeaponValues::Speed, 0, 64},
                                            {&WeaponValues::SearchRange, 0, 16},
                                            {&WeaponValues::DefenceAir, 0, 99},
                                            {&WeaponValues::DefenceGround, 0, 99},
                                            {&WeaponValues::Fuel, 0, 999},
                                            {&WeaponValues::Improvement1, 0, 1921},
                                            {&WeaponValues::Improvement2, 0, 1921},
                                            {&WeaponValues::Improvement3, 0, 1921},
                                            {&WeaponValues::Improvement4, 0, 1921},
                                            {&WeaponValues::Improvement5, 0, 1921},
                                            {&WeaponValues::Month, 1, 12},
                                            {&WeaponValues::Year, 0, 99},
                                            {&WeaponValues::Level, -1, 8},
                                            {&WeaponValues::Appearance, 0, 2},
                                            {&WeaponValues::Theatre, 0, 4}};
const Shown<ArmamentValues> kShownArmament[] = {
    {&ArmamentValues::EquipmentKind, 0, 99},   {&ArmamentValues::NameNumber, 0, 800},
    {&ArmamentValues::Silhouette, 0, 800},     {&ArmamentValues::Accuracy, 0, 99},
    {&ArmamentValues::PriorityAir1, 0, 99},    {&ArmamentValues::PriorityAir2, 0, 99},
    {&ArmamentValues::PriorityGround1, 0, 99}, {&ArmamentValues::PriorityGround2, 0, 99},
    {&ArmamentValues::Special, 0, 99}};

template <class Values, size_t N> Values AsShown(Values values, const Shown<Values> (&limits)[N])
{
    for (const auto& limit : limits)
        values.*limit.value = std::clamp(values.*limit.value, limit.low, limit.high);
    return values;
}

void ClickTab(TTabControl* strip, int index)
{
    auto* row = qobject_cast<QTabBar*>(strip->Row());
    QTest::mouseClick(row, Qt::LeftButton, {}, row->tabRect(index).center());
}

void ClickItem(TRadioGroup* group, int index)
{
    QWidget* button = group->Button(index);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Clicks into the field's text, selects it all with Ctrl+A and types `text` over it.
bool TypeOver(TSpinEdit* field, const QString& text)
{
    if (!test::ClickAsUser(field, QPoint(5, field->height() / 2)))
        return false;
    test::PressKeyAsUser(Qt::Key_A, Qt::ControlModifier);
    test::TypeAsUser(text);
    return field->hasFocus() && field->text() == text;
}

// Saves as the user does: by the tool button, by the menu with the mouse, or by Alt+F then S.
bool SaveAsUser(TSDIAppForm& form, const QString& way)
{
    if (way == "tool-button")
        return test::ClickAsUser(form.SaveBtn);
    const auto menuOpen = [&form] { return form.FileMenu->isVisible(); };
    if (way == "menu-mouse") {
        QMenuBar* bar = form.menuBar();
        return test::ClickAsUser(bar, bar->actionGeometry(form.FileMenu->menuAction()).center()) &&
               QTest::qWaitFor(menuOpen) &&
               test::ClickAsUser(form.FileMenu,
                                 form.FileMenu->actionGeometry(form.SaveItem).center());
    }
    test::PressKeyAsUser(Qt::Key_F, Qt::AltModifier);
    if (!QTest::qWaitFor(menuOpen))
        return false;
    test::PressKeyAsUser(Qt::Key_S);
    return true;
}

} // namespace

class TestSdiAppFormCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { mFixture.reset(); }

    void openPickEditAndSaveWritesExactlyTheShownValues();
    void pickInFrontOfTheWeaponPartKeepsTheWeaponNumber();
    void typedWeaponNumberIsSavedWithoutALoad();
    void typedArmamentNumberSurvivesATabChangeAndIsSavedInto();
    void armamentPickReloadsTheFilesValues();
    void openingTheSameFileTwiceListsEachNameOnce();
    void droppingThreeFilesLeavesTheThirdOpen();
    void failedOpenLeavesNoFileAndTheCaption_data();
    void failedOpenLeavesNoFileAndTheCaption();
    void cancelledOpenChangesNothing();
    void readLooksTheWeaponUpInTheList();
    void readWithoutAnEntryDoesNothing_data();
    void readWithoutAnEntryDoesNothing();
    void typedNumbersAreBroughtWithinTheTables();
    void saveWritesWhatTheWindowShows_data();
    void saveWritesWhatTheWindowShows();
    void toolBarClickLeavesTheFocusInTheField_data();
    void toolBarClickLeavesTheFocusInTheField();
    void exitWritesTheListNumber_data();
    void exitWritesTheListNumber();
    void altXExitsWithoutTheMenu();
    void closeBoxWritesNothing();
    void withoutADataFileNothingIsTouched();

private:
    TSDIAppForm& form() { return mFixture->form(); }
    QString dataPath() const { return mFixture->path("Qelvint.dll"); }
    void Open(const QString& path);
    void ActivateAfterDialog();

    std::unique_ptr<test::FormFixture> mFixture;
    QByteArray mOriginal;
};

void TestSdiAppFormCommands::init()
{
    mFixture = std::make_unique<test::FormFixture>(test::FormFixture::Files::NameListAndDataFile);
    mOriginal = ReadFile(dataPath());
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

// Opens through the dialog, as the user does: the dialog is answered once it runs.
void TestSdiAppFormCommands::Open(const QString& path)
{
    QTimer::singleShot(0, form().OpenDialog(), [this, path] {
        form().OpenDialog()->selectFile(path);
        QMetaObject::invokeMethod(form().OpenDialog(), "accept");
    });
    form().OpenItemClick();
    ActivateAfterDialog();
}

// Without a window manager nothing hands the activation back from a closed dialog to the window.
void TestSdiAppFormCommands::ActivateAfterDialog()
{
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

void TestSdiAppFormCommands::openPickEditAndSaveWritesExactlyTheShownValues()
{
    Open(dataPath());
    QCOMPARE(form().windowTitle(), QDir::toNativeSeparators(dataPath()));
    QCOMPARE(form().SpinEdit1->Value(), 1);
    QVERIFY(form().ComboBox2->ItemCount() > 800);

    // The fourth entry (k = 3) names weapon C - 3 = 1921.
    form().ComboBox1->SetItemIndex(2);
    QTest::keyClick(form().ComboBox1, Qt::Key_Down);
    QCOMPARE(form().SpinEdit3->Value(), 3);
    QCOMPARE(form().SpinEdit1->Value(), 1921);
    QCOMPARE(form().SpinEdit2->Value(), 1920);

    ClickTab(form().TabControl1, 5);
    ClickItem(form().RadioGroup3, 2);
    form().SpinEdit2w->setText("33");
    form().SpinEdit14w->setText("77");
    ClickItem(form().RadioGroup4, 6);
    form().SpinEdit1a->setText("201");
    form().SpinEdit15a->setText("9");
    form().SpinEdit20a->setText("12");
    form().SaveBtn->click();

    TMemoryStream expectedBytes = MemoryCopy(mOriginal);
    HeldDataFile expected(expectedBytes);
    const RecordAddress address{1921, 2, 1920, 5};
    WeaponValues weapon = AsShown(kt63::LoadWeapon(expected, 1921, 2, 5).weapon, kShownWeapon);
    ArmamentValues armament = AsShown(kt63::LoadArmament(expected, address), kShownArmament);
    weapon.Speed = 33;
    weapon.Troops = 77;
    weapon.Level = 6;
    armament.AttackAir = 201;
    armament.Ammunition = 9;
    armament.EquipmentKind = 12;
    kt63::SaveWeapon(expected, address, weapon, armament);

    const QByteArray after = ReadFile(dataPath());
    QVERIFY(after == BytesOf(expectedBytes));
    QVERIFY(CountDifferences(after, mOriginal) <= 61);
    QVERIFY(CountDifferences(after, mOriginal) >= 6);
}

void TestSdiAppFormCommands::pickInFrontOfTheWeaponPartKeepsTheWeaponNumber()
{
    Open(dataPath());
    form().SpinEdit1->SetValue(7);
    form().SpinEdit23w->setText("1"); // typed, not saved: the pick reloads weapon 7
    form().ComboBox1->SetItemIndex(1);
    QTest::keyClick(form().ComboBox1, Qt::Key_Down);
    QCOMPARE(form().SpinEdit3->Value(), 2);
    QCOMPARE(form().SpinEdit1->Value(), 7);
    QCOMPARE(form().SpinEdit2->Value(), 6);
    TMemoryStream bytes = MemoryCopy(mOriginal);
    HeldDataFile file(bytes);
    const int32_t stored = kt63::LoadWeapon(file, 7, 0, 0).weapon.UnitBranch;
    QCOMPARE(form().SpinEdit23w->Value(), stored);
}

void TestSdiAppFormCommands::typedWeaponNumberIsSavedWithoutALoad()
{
    Open(dataPath()); // shows weapon 1 and armament group 0
    form().SpinEdit1->setText("6");
    form().WriteClick();

    TMemoryStream expectedBytes = MemoryCopy(mOriginal);
    HeldDataFile expected(expectedBytes);
    WeaponValues weapon = AsShown(kt63::LoadWeapon(expected, 1, 0, 0).weapon, kShownWeapon);
    ArmamentValues armament = AsShown(kt63::LoadArmament(expected, {1, 0, 0, 0}), kShownArmament);
    kt63::SaveWeapon(expected, {6, 0, 0, 0}, weapon, armament);
    QVERIFY(ReadFile(dataPath()) == BytesOf(expectedBytes));
}

void TestSdiAppFormCommands::typedArmamentNumberSurvivesATabChangeAndIsSavedInto()
{
    Open(dataPath());
    form().SpinEdit2->setText("100");
    ClickTab(form().TabControl1, 3);
    QCOMPARE(form().SpinEdit2->Value(), 100);
    TMemoryStream bytes = MemoryCopy(mOriginal);
    HeldDataFile file(bytes);
    const ArmamentValues stored = kt63::LoadArmament(file, {1, 0, 100, 3});
    QCOMPARE(form().SpinEdit21a->Value(), stored.ArmamentKind);
    QCOMPARE(form().SpinEdit1a->Value(), stored.AttackAir);

    form().SpinEdit16a->setText("123");
    form().WriteClick();
    const QByteArray after = ReadFile(dataPath());
    QCOMPARE(static_cast<uint8_t>(after[ArmamentEntryOffset(100, 3) + 76]), uint8_t(123));
    QCOMPARE(after.mid(ArmamentEntryOffset(0, 3), ArmamentEntrySize),
             mOriginal.mid(ArmamentEntryOffset(0, 3), ArmamentEntrySize));
}

void TestSdiAppFormCommands::armamentPickReloadsTheFilesValues()
{
    Open(dataPath());
    const QString stored = form().SpinEdit1w->text();
    form().SpinEdit1w->setText(stored == "7" ? "8" : "7");
    form().SpinEdit2->setText("55"); // a load sets it back to weapon - 1
    form().ComboBox2->SetItemIndex(11);
    QTest::keyClick(form().ComboBox2, Qt::Key_Down);
    QCOMPARE(form().SpinEdit4->Value(), 12);
    QCOMPARE(form().SpinEdit1w->text(), stored);
    QCOMPARE(form().SpinEdit2->Value(), 0);
    QCOMPARE(ReadFile(dataPath()), mOriginal);
}

void TestSdiAppFormCommands::openingTheSameFileTwiceListsEachNameOnce()
{
    Open(dataPath());
    const int names = form().ComboBox2->ItemCount();
    Open(dataPath());
    QCOMPARE(form().ComboBox2->ItemCount(), names);
    QCOMPARE(form().windowTitle(), QDir::toNativeSeparators(dataPath()));
}

void TestSdiAppFormCommands::droppingThreeFilesLeavesTheThirdOpen()
{
    QStringList paths;
    for (const char* name : {"a.dll", "b.dll", "c.dll"}) {
        paths << mFixture->path(name);
        WriteFile(paths.last(), mOriginal);
    }
    form().FormDropFiles(paths);
    QCOMPARE(form().windowTitle(), QDir::toNativeSeparators(paths[2]));
    form().SpinEdit23w->setText("250");
    form().WriteClick();
    QCOMPARE(ReadFile(paths[0]), mOriginal);
    QCOMPARE(ReadFile(paths[1]), mOriginal);
    QCOMPARE(static_cast<uint8_t>(ReadFile(paths[2])[WeaponRecordOffset(1)]), uint8_t(250));
}

void TestSdiAppFormCommands::failedOpenLeavesNoFileAndTheCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing.dll" << QByteArray() << "ﾌｧｲﾙ %1 は開けません";
    QTest::newRow("too-short") << "short.dll" << QByteArray(2264783, 'x') << "ﾌｧｲﾙ %1 は短すぎます";
}

void TestSdiAppFormCommands::failedOpenLeavesNoFileAndTheCaption()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = mFixture->path(name);
    if (!content.isEmpty())
        WriteFile(path, content);
    Open(dataPath());
    const int names = form().ComboBox2->ItemCount();

    const QString third = mFixture->path("third.dll");
    WriteFile(third, mOriginal);
    try {
        form().FormDropFiles({path, third});
        QFAIL("the open did not fail");
    } catch (const Exception& error) {
        QCOMPARE(QString::fromStdString(error.message()), message.arg(path));
    }
    QCOMPARE(form().windowTitle(), QDir::toNativeSeparators(dataPath()));
    QCOMPARE(form().ComboBox2->ItemCount(), names);
    form().SpinEdit23w->setText("250");
    form().WriteClick(); // no data file is held: nothing is written anywhere
    QCOMPARE(ReadFile(dataPath()), mOriginal);
    QCOMPARE(ReadFile(third), mOriginal);
    if (!content.isEmpty())
        QCOMPARE(ReadFile(path), content);
}

void TestSdiAppFormCommands::cancelledOpenChangesNothing()
{
    Open(dataPath());
    QTimer::singleShot(0, form().OpenDialog(),
                       [this] { QMetaObject::invokeMethod(form().OpenDialog(), "reject"); });
    form().OpenItemClick();
    QCOMPARE(form().windowTitle(), QDir::toNativeSeparators(dataPath()));
    form().SpinEdit23w->setText("251");
    form().WriteClick();
    QCOMPARE(static_cast<uint8_t>(ReadFile(dataPath())[WeaponRecordOffset(1)]), uint8_t(251));
}

void TestSdiAppFormCommands::readLooksTheWeaponUpInTheList()
{
    Open(dataPath());
    const int32_t count = form().ComboBox1->ItemCount();
    form().SpinEdit1->setText("5");
    form().ReadClick();
    QCOMPARE(form().SpinEdit3->Value(), count - 5);
    QCOMPARE(form().ComboBox1->ItemIndex(), count - 5);
    QVERIFY(form().ComboBox1->Text().startsWith("0005 "));
    QCOMPARE(form().SpinEdit2->Value(), 4);

    // Read again after typing another number: back to the weapon the entry names.
    form().SpinEdit1->setText("5");
    form().SpinEdit3->setText(QString::number(count - 9));
    form().ReadClick();
    QCOMPARE(form().SpinEdit1->Value(), 9);
    QCOMPARE(form().ComboBox1->ItemIndex(), count - 9);
    QCOMPARE(form().SpinEdit2->Value(), 8);
}

void TestSdiAppFormCommands::readWithoutAnEntryDoesNothing_data()
{
    QTest::addColumn<QString>("weapon");
    QTest::addColumn<QString>("listNumber");
    QTest::addColumn<bool>("typedAndClicked");
    QTest::newRow("list-number-past-the-entry") << "1921"
                                                << "4" << false; // 1924 < 1921 + 4
    // Still being typed: the button leaves the focus, and the number, in the field.
    QTest::newRow("typed-9999-tool-button") << "9999"
                                            << "3" << true;
}

void TestSdiAppFormCommands::readWithoutAnEntryDoesNothing()
{
    QFETCH(QString, weapon);
    QFETCH(QString, listNumber);
    QFETCH(bool, typedAndClicked);
    Open(dataPath());
    form().SpinEdit5->setText(listNumber);
    form().SpinEdit2->setText("77");
    if (typedAndClicked) {
        QVERIFY(TypeOver(form().SpinEdit1, weapon));
        QVERIFY(test::ClickAsUser(form().Read));
    } else {
        form().SpinEdit1->setText(weapon);
        form().ReadClick();
    }
    QCOMPARE(form().SpinEdit1->text(), weapon);
    QCOMPARE(form().ComboBox1->ItemIndex(), -1);
    QCOMPARE(form().SpinEdit2->Value(), 77);
}

void TestSdiAppFormCommands::typedNumbersAreBroughtWithinTheTables()
{
    Open(dataPath());
    form().SpinEdit1->setText("9999");
    form().SpinEdit2->setText("-5");
    form().SpinEdit23w->setText("99");
    form().WriteClick();
    QCOMPARE(form().SpinEdit1->text(), QString("1921"));
    QCOMPARE(form().SpinEdit2->text(), QString("0"));
    const QByteArray after = ReadFile(dataPath());
    QCOMPARE(after.size(), mOriginal.size());
    QCOMPARE(static_cast<uint8_t>(after[WeaponRecordOffset(1921)]), uint8_t(99));
}

void TestSdiAppFormCommands::saveWritesWhatTheWindowShows_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const char* field, const char* typed, const char* shown) {
        QTest::newRow(name) << QString(field) << QString(typed) << QString(shown);
    };
    row("588-in-0-to-255", "SpinEdit23w", "588", "255");
    row("minus-3-in-0-to-99", "SpinEdit10a", "-3", "0");
    row("70000-in-0-to-65535", "SpinEdit21a", "70000", "65535");
    row("847-in-0-to-800", "SpinEdit17a", "847", "800");
    row("1.5-no-number", "SpinEdit16a", "1.5", "0");
    row("007-kept-as-typed", "SpinEdit22w", "007", "007");
}

// Every way of saving writes the same bytes for the same typed text: the text put within the
// field's limits, as the field shows it afterwards.
void TestSdiAppFormCommands::saveWritesWhatTheWindowShows()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto* edit = form().findChild<TSpinEdit*>(field);
    QVERIFY(edit);

    // Each save goes into a copy of its own, dropped on the window.
    const QString reference = mFixture->path("reference.dll");
    WriteFile(reference, mOriginal);
    form().FormDropFiles({reference});
    edit->setText(shown);
    form().WriteClick();
    const QByteArray expected = ReadFile(reference);

    for (const QString way : {"tool-button", "menu-mouse", "menu-keys"}) {
        const QString path = mFixture->path(way + ".dll");
        WriteFile(path, mOriginal);
        form().FormDropFiles({path});
        QVERIFY(TypeOver(edit, typed));
        QVERIFY2(SaveAsUser(form(), way), qPrintable(way));
        QTRY_VERIFY(!form().FileMenu->isVisible());
        QCOMPARE(edit->text(), shown);
        QVERIFY2(ReadFile(path) == expected, qPrintable(way));
    }
}

void TestSdiAppFormCommands::toolBarClickLeavesTheFocusInTheField_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("at"); // on the tool bar; the control's centre when left out
    const QPoint centre(-1, -1);
    QTest::newRow("OpenBtn-dialog-cancelled") << "OpenBtn" << centre;
    QTest::newRow("SaveBtn") << "SaveBtn" << centre;
    QTest::newRow("ExitBtn-WN.dat-missing") << "ExitBtn" << centre;
    QTest::newRow("Read") << "Read" << centre;
    QTest::newRow("panel-between-two-buttons") << "SpeedPanel" << QPoint(70, 17);
}

// No command writes the list number, so what it shows after is what was typed.
void TestSdiAppFormCommands::toolBarClickLeavesTheFocusInTheField()
{
    QFETCH(QString, control);
    QFETCH(QPoint, at);
    Open(dataPath());
    QVERIFY(TypeOver(form().SpinEdit5, "99"));
    if (control == "OpenBtn") {
        QTimer::singleShot(0, form().OpenDialog(),
                           [this] { QMetaObject::invokeMethod(form().OpenDialog(), "reject"); });
    }
    if (control == "ExitBtn") // so the window stays to take the next key
        QVERIFY(QFile::remove(mFixture->path("WN.dat")));
    QStringList errors;
    const ErrorBoxRunner previous =
        SetErrorBoxRunner([&errors](const ErrorBoxContent& box) { errors << box.text; });

    const bool clicked = test::ClickAsUser(form().findChild<QWidget*>(control), at);
    SetErrorBoxRunner(previous);
    QVERIFY(clicked);
    ActivateAfterDialog();
    QCOMPARE(errors.size(), control == "ExitBtn" ? 1 : 0);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form().SpinEdit5));
    test::TypeAsUser("9");
    QCOMPARE(form().SpinEdit5->text(), QString("999"));
}

void TestSdiAppFormCommands::exitWritesTheListNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byMenuKeys");
    QTest::addColumn<QByteArray>("lastTwo");
    QTest::newRow("shown") << QString() << false << QByteArray("\x03\x00", 2);
    QTest::newRow("typed-9999-still-focused") << "9999" << false << QByteArray("\x0F\x27", 2);
    QTest::newRow("typed-minus-999") << "-999" << false << QByteArray("\x19\xFC", 2);
    // Alt+F, then X: the menu taken from the keyboard leaves the focus, and the typed value
    // unclamped, in the field.
    QTest::newRow("typed-9999-menu-keys") << "9999" << true << QByteArray("\x0F\x27", 2);
}

void TestSdiAppFormCommands::exitWritesTheListNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, byMenuKeys);
    QFETCH(QByteArray, lastTwo);
    const QByteArray before = ReadFile(mFixture->path("WN.dat"));
    form().show();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    if (!typed.isEmpty()) {
        form().SpinEdit5->setFocus();
        form().SpinEdit5->setText(typed);
    }
    if (byMenuKeys) {
        QTest::keyClick(form().SpinEdit5, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(form().FileMenu->isVisible());
        QTest::keyClick(form().FileMenu, Qt::Key_X);
    } else {
        QVERIFY(test::ClickAsUser(form().ExitBtn));
    }
    QVERIFY(!form().isVisible());
    QCOMPARE(ReadFile(mFixture->path("WN.dat")), before.chopped(2) + lastTwo);
}

void TestSdiAppFormCommands::altXExitsWithoutTheMenu()
{
    const QByteArray before = ReadFile(mFixture->path("WN.dat"));
    form().SpinEdit5->setFocus();
    form().SpinEdit5->setText("12");
    QTest::keyClick(&form(), Qt::Key_X, Qt::AltModifier);
    QVERIFY(!form().isVisible());
    QCOMPARE(ReadFile(mFixture->path("WN.dat")), before.chopped(2) + QByteArray("\x0C\x00", 2));
}

void TestSdiAppFormCommands::closeBoxWritesNothing()
{
    const QByteArray before = ReadFile(mFixture->path("WN.dat"));
    form().SpinEdit5->setText("100");
    form().close();
    QCOMPARE(ReadFile(mFixture->path("WN.dat")), before);
}

void TestSdiAppFormCommands::withoutADataFileNothingIsTouched()
{
    form().SpinEdit23w->setText("200");
    form().WriteClick();
    form().TabControl1Change();
    form().ComboBox1->SetItemIndex(10);
    QTest::keyClick(form().ComboBox1, Qt::Key_Down);
    QCOMPARE(form().SpinEdit3->Value(), 11);
    QCOMPARE(form().SpinEdit1->Value(), 1924 - 11);
    QCOMPARE(form().SpinEdit2->Value(), 0); // nothing was loaded
    QCOMPARE(ReadFile(dataPath()), mOriginal);
    QCOMPARE(form().windowTitle(), QString("KT63UE"));
}

QTEST_MAIN(TestSdiAppFormCommands)
#include "tst_sdiappformcommands.moc"
