#pragma once

#include "datafile.h"
#include "tstream.h"
#include "weaponcodec.h"

#include <QMainWindow>

#include <memory>
#include <string_view>

class QAction;
class QFileDialog;
class QFrame;
class QMenu;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace kt63 {

class TComboBox;
class HeldDataFile;
class TRadioGroup;
class TSpinEdit;
class TTabControl;

// The editor's one main window. Its controls are the only store of the values being edited:
// a load reads the data file's fields straight into them and a save writes them straight back.
// The controls are public under the names the rest of the program and its tests know them by.
class TSDIAppForm : public QMainWindow
{
    Q_OBJECT

public:
    // Builds every control with its initial value, then reads "WN.dat" from the working
    // directory into the weapon list and the list number. Throws the file-open error when
    // "WN.dat" cannot be opened; the window is then unusable and must not be shown.
    explicit TSDIAppForm(QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // The commands, each named after the control and event that start it.
    void FormCreate();
    void OpenItemClick();
    void FormDropFiles(const QStringList& paths);
    void ReadClick();
    void ComboBox1Click();
    void ComboBox2Click();
    void TabControl1Change();
    void WriteClick();
    void ExitItemClick();
    void About1Click();
    void ShowHint();

    // Selectors
    TSpinEdit* SpinEdit1 = nullptr; // weapon number
    TSpinEdit* SpinEdit2 = nullptr; // armament number
    TSpinEdit* SpinEdit3 = nullptr; // weapon list index
    TSpinEdit* SpinEdit4 = nullptr; // armament list index
    TSpinEdit* SpinEdit5 = nullptr; // list number of "WN.dat"
    TComboBox* ComboBox1 = nullptr; // weapon names
    TComboBox* ComboBox2 = nullptr; // armament names

    // Weapon record fields
    TSpinEdit *SpinEdit0w = nullptr, *SpinEdit1w = nullptr, *SpinEdit2w = nullptr,
              *SpinEdit3w = nullptr, *SpinEdit4w = nullptr, *SpinEdit5w = nullptr,
              *SpinEdit6w = nullptr, *SpinEdit7w = nullptr, *SpinEdit8w = nullptr,
              *SpinEdit9w = nullptr, *SpinEdit10w = nullptr, *SpinEdit11w = nullptr,
              *SpinEdit12w = nullptr, *SpinEdit13w = nullptr, *SpinEdit14w = nullptr,
              *SpinEdit15w = nullptr, *SpinEdit16w = nullptr, *SpinEdit17w = nullptr,
              *SpinEdit18w = nullptr, *SpinEdit19w = nullptr, *SpinEdit20w = nullptr,
              *SpinEdit21w = nullptr, *SpinEdit22w = nullptr, *SpinEdit23w = nullptr;
    TRadioGroup* RadioGroup1 = nullptr; // appearance
    TRadioGroup* RadioGroup2 = nullptr; // theatre
    TRadioGroup* RadioGroup4 = nullptr; // level

    // Equipment slot and armament entry fields
    TRadioGroup* RadioGroup3 = nullptr; // equipment slot
    TTabControl* TabControl1 = nullptr; // armament tab
    TSpinEdit *SpinEdit0a = nullptr, *SpinEdit1a = nullptr, *SpinEdit2a = nullptr,
              *SpinEdit3a = nullptr, *SpinEdit4a = nullptr, *SpinEdit5a = nullptr,
              *SpinEdit6a = nullptr, *SpinEdit7a = nullptr, *SpinEdit8a = nullptr,
              *SpinEdit9a = nullptr, *SpinEdit10a = nullptr, *SpinEdit11a = nullptr,
              *SpinEdit12a = nullptr, *SpinEdit13a = nullptr, *SpinEdit14a = nullptr,
              *SpinEdit15a = nullptr, *SpinEdit16a = nullptr, *SpinEdit17a = nullptr,
              *SpinEdit18a = nullptr, *SpinEdit19a = nullptr, *SpinEdit20a = nullptr,
              *SpinEdit21a = nullptr;

    // Containers, labels and frames
    QWidget* ClientArea = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;

    // Chrome
    QFrame* SpeedPanel = nullptr;
    QToolButton* OpenBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* ExitBtn = nullptr;
    QToolButton* Read = nullptr;
    QStatusBar* StatusBar = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* Help1 = nullptr;
    QAction* OpenItem = nullptr;
    QAction* SaveItem = nullptr;
    QAction* ExitItem = nullptr;
    QAction* About1 = nullptr;

    // The open dialog, built the first time it is asked for: the window comes up without it.
    QFileDialog* OpenDialog();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    static QString DecodeName(std::string_view bytes);

    void CreateContainers();
    void CreateSpeedPanel();
    void CreateChoiceLists();
    void CreateSpinFields();
    void CreateLabelsAndFrames();
    void CreateRadioGroups();
    void CreateStatusBar();
    void CreateMenu();
    QFileDialog* CreateOpenDialog();
    void ConnectEvents();
    void SetFocusOrder();
    QWidget* ParentFor(int place) const;

    void ReadNameList();
    void OpenDataFileAt(const QString& path);
    RecordAddress ShownAddress();
    template <class Use> void UseHeldDataFile(Use use);
    void ShowLoaded(const LoadedWeapon& loaded);
    int32_t ClampedNumber(TSpinEdit* field, int32_t low, int32_t high);
    void LoadWeapon();
    void LoadArmament();
    void SaveWeapon();

    // Where "WN.dat" is written at exit, as found at start.
    std::string mNameListPath = "WN.dat";
    int32_t mNamesAreaSize = 0;
    FileIdentity mNameListIdentity;
    int32_t mNameCount = 0;
    int32_t mRememberedNumber = 0;
    QString mDataFileName;
    std::unique_ptr<HeldDataFile> mDataFile;
    ArmamentNameArea mArmamentNames{};
    bool mShownOnce = false;
    QFileDialog* mOpenDialog = nullptr;
    QList<QWidget*> mFocusChain;
};

} // namespace kt63
