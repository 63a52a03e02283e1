// The window's commands. Each runs to its end before the next starts; an error it raises (a
// file that cannot be opened) abandons the rest of it and is shown by the application.

#include "tsdiappform.h"

#include "datalayout.h"
#include "exception.h"
#include "helddatafile.h"
#include "journalnotice.h"
#include "namelistfile.h"
#include "namescan.h"
#include "recordbinding.h"
#include "taboutbox.h"
#include "tcombobox.h"
#include "tradiogroup.h"
#include "tspinedit.h"
#include "ttabcontrol.h"
#include "weaponcodec.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include <algorithm>

namespace kt63 {

void TSDIAppForm::OpenItemClick()
{
    QFileDialog* dialog = OpenDialog();
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    mDataFileName = dialog->selectedFiles().constFirst();
    OpenDataFileAt(mDataFileName);
    setWindowTitle(QDir::toNativeSeparators(mDataFileName));
}

void TSDIAppForm::FormDropFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        OpenDataFileAt(path);
        setWindowTitle(QDir::toNativeSeparators(path));
    }
}

// The file held so far is closed first, so the same file can be opened again. A journal that
// the table tool left beside the file is settled before anything of the file is read, as every
// program that opens it does: the window must not show, nor save into, a file that an apply
// left half written. The new file's armament names and weapon are read before any of them is
// shown: if a read fails, the window shows what it showed and holds no data file, as after a
// failed open, so that no save can write what it shows into a file it does not name.
void TSDIAppForm::OpenDataFileAt(const QString& path)
{
    mDataFile.reset();
    SettledDataFile opened = OpenSettled(QFile::encodeName(path).toStdString(), DataUse::Change);
    std::unique_ptr<HeldDataFile> file = std::move(opened.file);
    if (opened.journal.stops)
        throw Exception(JournalRefusalText(opened.journal, file->FileName()));
    if (const QString notice = JournalSettledText(opened.journal, file->FileName());
        !notice.isEmpty())
        ShowJournalNotice(this, notice);
    ReadArmamentNameArea(*file, mArmamentNames);
    const RecordAddress address = ShownAddress();
    const LoadedWeapon loaded = kt63::LoadWeapon(*file, address.weapon, address.slot, address.tab);
    mDataFile = std::move(file);
    ComboBox2->ClearItems();
    ScanNames(mArmamentNames.data(), NameAreaSize,
              [this](std::string_view name) { ComboBox2->AppendItem(DecodeName(name)); });
    ShowLoaded(loaded);
}

void TSDIAppForm::ReadClick()
{
    const int64_t weapon = SpinEdit1->Value();
    const int64_t listNumber = SpinEdit5->Value();
    if (mNameCount < weapon + listNumber)
        return; // the weapon has no entry in the weapon part of the list
    if (weapon != mRememberedNumber) {
        SpinEdit3->SetValue(mNameCount - static_cast<int32_t>(weapon));
        ComboBox1->SetItemIndex(SpinEdit3->Value());
        mRememberedNumber = SpinEdit1->Value();
    } else {
        // Read again: go back to the weapon the selected entry names, as a pick would.
        if (SpinEdit3->Value() >= SpinEdit5->Value())
            SpinEdit1->SetValue(mNameCount - SpinEdit3->Value());
        ComboBox1->SetItemIndex(SpinEdit3->Value());
    }
    LoadWeapon();
}

void TSDIAppForm::ComboBox1Click()
{
    SpinEdit3->SetValue(ComboBox1->ItemIndex());
    if (SpinEdit3->Value() >= SpinEdit5->Value())
        SpinEdit1->SetValue(mNameCount - SpinEdit3->Value());
    LoadWeapon();
}

void TSDIAppForm::ComboBox2Click()
{
    SpinEdit4->SetValue(ComboBox2->ItemIndex());
    LoadWeapon();
}

void TSDIAppForm::TabControl1Change()
{
    LoadArmament();
}

// The tool buttons and the menu leave the focus where it is, so the field being typed in has not
// been left and may hold a number past its limits or no number at all. The save puts such values
// inside first, in the fields too, so that the file gets what the window then shows rather than
// the low bits of a number nobody sees.
void TSDIAppForm::WriteClick()
{
    BringShownValuesWithinLimits(*this);
    SaveWeapon();
}

void TSDIAppForm::ExitItemClick()
{
    WriteListNumber(mNameListPath, mNamesAreaSize, mNameListIdentity, SpinEdit5->Value());
    close();
}

void TSDIAppForm::About1Click()
{
    TAboutBox box(this);
    box.exec();
}

// A number typed past its field's limits is only put back inside when the focus leaves the
// field, and the tool buttons and menu items do not move the focus: bring it inside here, in
// the field too, so that the record read or written is the one the field shows.
int32_t TSDIAppForm::ClampedNumber(TSpinEdit* field, int32_t low, int32_t high)
{
    const int32_t value = field->Value();
    const int32_t clamped = std::clamp(value, low, high);
    if (clamped != value)
        field->SetValue(clamped);
    return clamped;
}

RecordAddress TSDIAppForm::ShownAddress()
{
    return {ClampedNumber(SpinEdit1, 1, WeaponCount), RadioGroup3->ItemIndex(),
            ClampedNumber(SpinEdit2, 0, ArmamentGroupCount - 1), TabControl1->TabIndex()};
}

// When another program has replaced, deleted or changed the length of the held file, nothing
// more of the command is done, the values on the window stay, and the window lets go of the
// file as after a failed open, so that the next Open or drop starts afresh. Every other error
// (a failed read, write or sync; a file the system cannot look at) keeps the file held, so the
// user can try again.
template <class Use> void TSDIAppForm::UseHeldDataFile(Use use)
{
    try {
        use(*mDataFile);
    } catch (const EFChangedError&) {
        mDataFile.reset();
        throw;
    }
}

void TSDIAppForm::ShowLoaded(const LoadedWeapon& loaded)
{
    SpinEdit2->SetValue(loaded.armament);
    ShowWeaponValues(*this, loaded.weapon);
    ShowArmamentValues(*this, loaded.armamentValues);
}

// Without a data file the loads and the save do nothing: no file is touched. A load that fails
// shows nothing of what it read.
void TSDIAppForm::LoadWeapon()
{
    if (!mDataFile)
        return;
    const RecordAddress address = ShownAddress();
    UseHeldDataFile([&](HeldDataFile& file) {
        ShowLoaded(kt63::LoadWeapon(file, address.weapon, address.slot, address.tab));
    });
}

void TSDIAppForm::LoadArmament()
{
    if (!mDataFile)
        return;
    const RecordAddress address = ShownAddress();
    UseHeldDataFile(
        [&](HeldDataFile& file) { ShowArmamentValues(*this, kt63::LoadArmament(file, address)); });
}

// A save that fails has put back what it wrote and reports why.
void TSDIAppForm::SaveWeapon()
{
    if (!mDataFile)
        return;
    const RecordAddress address = ShownAddress();
    UseHeldDataFile([&](HeldDataFile& file) {
        kt63::SaveWeapon(file, address, ShownWeaponValues(*this), ShownArmamentValues(*this));
    });
}

} // namespace kt63
