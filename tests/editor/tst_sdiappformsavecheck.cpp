// kt63-table's check against the window itself: what it says a load and an immediate save would
// change is what a load and a save in the window do change.

#include "formfixture.h"

#include "dataimage.h"
#include "datalayout.h"
#include "savecheck.h"
#include "tablediff.h"
#include "tradiogroup.h"
#include "tsdiappform.h"
#include "tspinedit.h"
#include "ttabcontrol.h"

#include <QTest>

#include <vector>

using namespace kt63;

namespace {

struct Poke
{
    int32_t at;
    QByteArray bytes;
};
using Pokes = std::vector<Poke>;

using test::ReadFile;
using test::WriteFile;

DataImage ImageOf(const QByteArray& bytes)
{
    return DataImage(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

QString Describe(const FieldChange& change)
{
    return QString::fromStdString(DescribeChange(change));
}

// A save writes the weapon's fields, the equipment kind and one ammunition cell of the slot
// shown, and the entry of the tab shown.
bool WrittenBySave(const FieldChange& change, int32_t slot, int32_t tab)
{
    const std::string& column = Table(change.table).columns[change.column].name;
    switch (change.table) {
    case TableId::Weapons:
        return true;
    case TableId::Slots:
        return change.key.second == slot &&
               (column == "EquipmentKind" || column == "Ammunition[" + std::to_string(tab) + "]");
    case TableId::Armaments:
        break;
    }
    return change.key.second == tab;
}

} // namespace

Q_DECLARE_METATYPE(Pokes)

class TestSdiAppFormSaveCheck : public QObject
{
    Q_OBJECT

private slots:
    void saveChangesWhatCheckSays_data();
    void saveChangesWhatCheckSays();
};

void TestSdiAppFormSaveCheck::saveChangesWhatCheckSays_data()
{
    QTest::addColumn<int>("weapon");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("tab");
    QTest::addColumn<Pokes>("pokes");
    QTest::addColumn<QStringList>("among");

    // The sample's weapon 1 and armament entry 0/0 hold values outside the window's ranges.
    QTest::newRow("sample-weapon-1")
        << 1 << 0 << 0 << Pokes{}
        << QStringList{"weapon 1 Month 0 -> 1",          "weapon 1 Fuel 65535 -> 999",
                       "weapon 1 Level 12 -> 9",         "weapon 1 Appearance 7 -> 2",
                       "weapon 1 Theatre 200 -> 4",      "armament 0/0 NameNumber 900 -> 800",
                       "armament 0/0 Accuracy 150 -> 99"};

    const int32_t weapon7 = WeaponRecordOffset(7);
    const int32_t slot3 = SlotEntryOffset(7, 3);
    const int32_t entry66 = ArmamentEntryOffset(6, 6);
    QTest::newRow("level-none-no-limits-slot-3-tab-6")
        << 7 << 3 << 6
        << Pokes{{weapon7 + 96, QByteArray(1, '\0')},            // Level: no item
                 {weapon7 + 64, QByteArray("\xFF\xFF\xFF\x7F")}, // CanBeCarried: no limit
                 {weapon7 + 72, QByteArray("\xFF")},             // Troops: no limit
                 {weapon7 + 144, QByteArray("\x05")},            // Theatre: one past the last
                 {slot3, QByteArray("\xC8")},                    // EquipmentKind 200
                 {slot3 + 4 + 4 * 6, QByteArray("\xFF")},        // Ammunition of tab 6
                 {entry66 + 16, QByteArray("\xFF\xFF")},         // Silhouette
                 {entry66 + 8, QByteArray("\xFF\xFF")}}          // ArmamentKind: whole width
        << QStringList{"weapon 7 Theatre 5 -> 4", "weapon 7 slot 3 EquipmentKind 200 -> 99",
                       "armament 6/6 Silhouette 65535 -> 800"};

    const int32_t weapon1921 = WeaponRecordOffset(1921);
    const int32_t entry1920 = ArmamentEntryOffset(1920, 7);
    QTest::newRow("last-weapon-slot-5-tab-7")
        << 1921 << 5 << 7
        << Pokes{{weapon1921 + 125, QByteArray("\x0D")},         // Month 13
                 {weapon1921 + 116, QByteArray("\x82\x07")},     // Improvement5 1922
                 {weapon1921 + 96, QByteArray("\x0A")},          // Level 10
                 {weapon1921 + 128, QByteArray("\xFF")},         // Appearance 255
                 {entry1920 + 56, QByteArray("\x64")},           // Accuracy 100
                 {SlotEntryOffset(1921, 5), QByteArray("\x64")}} // EquipmentKind 100
        << QStringList{
               "weapon 1921 Month 13 -> 12",         "weapon 1921 Improvement5 1922 -> 1921",
               "weapon 1921 Level 10 -> 9",          "weapon 1921 Appearance 255 -> 2",
               "armament 1920/7 Accuracy 100 -> 99", "weapon 1921 slot 5 EquipmentKind 100 -> 99"};
}

void TestSdiAppFormSaveCheck::saveChangesWhatCheckSays()
{
    QFETCH(int, weapon);
    QFETCH(int, slot);
    QFETCH(int, tab);
    QFETCH(Pokes, pokes);
    QFETCH(QStringList, among);

    test::FormFixture fixture(test::FormFixture::Files::NameListAndDataFile);
    const QString path = fixture.path("Qelvint.dll");
    QByteArray before = ReadFile(path);
    for (const Poke& poke : pokes)
        before.replace(poke.at, poke.bytes.size(), poke.bytes);
    WriteFile(path, before);
    const DataImage stored = ImageOf(before);
    QStringList predicted;
    for (const FieldChange& change : CheckSave(stored, weapon))
        if (WrittenBySave(change, slot, tab))
            predicted << Describe(change);
    for (const QString& line : among)
        QVERIFY2(predicted.contains(line), qPrintable(line));

    TSDIAppForm& form = fixture.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.RadioGroup3->SetItemIndex(slot);
    form.TabControl1->SetTabIndex(tab);
    form.SpinEdit1->SetValue(weapon);
    form.FormDropFiles({path}); // opens the file and loads the weapon, slot and tab shown
    form.WriteClick();

    const TableDiff saved = DiffImages(stored, ImageOf(ReadFile(path)));
    QVERIFY(saved.strayBytes.empty());
    QStringList changed;
    for (const FieldChange& change : saved.changes)
        changed << Describe(change);
    QCOMPARE(changed, predicted);
}

QTEST_MAIN(TestSdiAppFormSaveCheck)
#include "tst_sdiappformsavecheck.moc"
