// The window's frame: containers, the two lists, the tool bar, the status bar, the menu and the
// open dialog.

#include "tsdiappform.h"

#include "controlhint.h"
#include "filefilter.h"
#include "glyphs.h"
#include "japanesefont.h"
#include "tabpageaccessible.h"
#include "tcombobox.h"
#include "ttabcontrol.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QFileDialog>
#include <QFrame>
#include <QIcon>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace kt63 {

namespace {

const char* const kDataFileFilter = "Qelvint.dll|Qelvint.dll|すべてのﾌｧｲﾙ (*.*)|*.*";

struct ToolButtonRow
{
    QToolButton* TSDIAppForm::*button;
    const char* name;
    int left, width;
    const char* hint;
};

const ToolButtonRow kToolButtonRows[] = {
    {&TSDIAppForm::OpenBtn, "OpenBtn", 11, 28, "開く|"},
    {&TSDIAppForm::SaveBtn, "SaveBtn", 38, 28, "保存|"},
    {&TSDIAppForm::ExitBtn, "ExitBtn", 75, 29, "終了|"},
    {&TSDIAppForm::Read, "Read", 115, 29, "読み込み|入力箇所に表示します"},
};

// The list's text field is what holds the focus and what a screen reader announces: it is
// named as its list.
void NameList(QComboBox* list, const QString& name)
{
    list->setAccessibleName(name);
    list->lineEdit()->setAccessibleName(name);
}

} // namespace

void TSDIAppForm::CreateContainers()
{
    ClientArea = new QWidget(this);
    ClientArea->setObjectName("ClientArea");
    setCentralWidget(ClientArea);

    InstallTabPageAccessible();
    PageControl1 = new QTabWidget(ClientArea);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(56, 81, 385, 113);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    PageControl1->addTab(TabSheet1, "通常");
    PageControl1->addTab(TabSheet2, "輸送");

    TabControl1 = new TTabControl(ClientArea);
    TabControl1->setObjectName("TabControl1");
    TabControl1->setGeometry(56, 241, 529, 185);
    TabControl1->SetTabs({"武装①", "武装②", "武装③", "武装④", "武装⑤", "武装⑥", "武装⑦", "武装⑧"});
}

void TSDIAppForm::CreateChoiceLists()
{
    ComboBox1 = new TComboBox(ClientArea);
    ComboBox1->setObjectName("ComboBox1");
    NameList(ComboBox1, "兵器リスト");
    ComboBox1->setGeometry(64, 56, 217, 26);
    ComboBox1->SetMaxLength(24);
    ComboBox1->SetDropDownCount(20);
    ComboBox1->SetInputMethodEnabled(true); // names are typed in Japanese

    ComboBox2 = new TComboBox(ClientArea);
    ComboBox2->setObjectName("ComboBox2");
    NameList(ComboBox2, "武装リスト");
    ComboBox2->setGeometry(344, 56, 217, 26);
    ComboBox2->SetMaxLength(0);
    ComboBox2->SetDropDownCount(10);
    ComboBox2->SetInputMethodEnabled(false);
}

void TSDIAppForm::CreateSpeedPanel()
{
    SpeedPanel = new QFrame(ClientArea);
    SpeedPanel->setObjectName("SpeedPanel");
    SpeedPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SpeedPanel->setGeometry(0, 0, 650, 34);
    // The window gives it the focus when first shown, and Tab passes it on from there, but it is
    // no stop of the Tab key and takes no focus by a click either: Qt hands a click on a control
    // that takes no focus, such as a tool button, to the nearest parent that takes click focus,
    // and a click on the tool bar must leave the focus in the field being typed in, as the menu
    // does.
    SpeedPanel->setFocusPolicy(Qt::NoFocus);
    // The panel alone shows tooltips, and so only for its four buttons.
    SetShowHint(SpeedPanel, true);
    SetParentShowHint(SpeedPanel, false);
    for (const ToolButtonRow& row : kToolButtonRows) {
        auto* button = new QToolButton(SpeedPanel);
        button->setObjectName(row.name);
        button->setGeometry(row.left, 2, row.width, 28);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        const QIcon glyph = GlyphIcon(row.name);
        button->setIcon(glyph);
        button->setIconSize(glyph.availableSizes().value(0));
        SetControlHint(button, QString::fromUtf8(row.hint));
        // The button shows a glyph alone: a screen reader names it by its short hint.
        button->setAccessibleName(ShortHint(QString::fromUtf8(row.hint)));
        this->*row.button = button;
    }
}

void TSDIAppForm::CreateStatusBar()
{
    StatusBar = new QStatusBar(ClientArea);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setFont(JapaneseFont(13));
    StatusBar->setGeometry(0, 428, 650, 22);
}

void TSDIAppForm::CreateMenu()
{
    FileMenu = menuBar()->addMenu("ﾌｧｲﾙ(&F)");
    FileMenu->setObjectName("FileMenu");
    OpenItem = FileMenu->addAction("開く(&O)...");
    SaveItem = FileMenu->addAction("上書き保存(&S)...");
    FileMenu->addSeparator();
    ExitItem = FileMenu->addAction("終了(&X)");
    ExitItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    Help1 = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
    Help1->setObjectName("Help1");
    About1 = Help1->addAction("ﾊﾞｰｼﾞｮﾝ情報(&A)...");

    OpenItem->setObjectName("OpenItem");
    SaveItem->setObjectName("SaveItem");
    ExitItem->setObjectName("ExitItem");
    About1->setObjectName("About1");
    SetControlHint(OpenItem, "ﾌｧｲﾙを開く");
    SetControlHint(SaveItem, "ﾌｧｲﾙを保存");
    SetControlHint(ExitItem, "ｱﾌﾟﾘｹｰｼｮﾝの終了");
    SetControlHint(About1, "ﾊﾞｰｼﾞｮﾝ情報");
}

QFileDialog* TSDIAppForm::OpenDialog()
{
    if (!mOpenDialog)
        mOpenDialog = CreateOpenDialog();
    return mOpenDialog;
}

QFileDialog* TSDIAppForm::CreateOpenDialog()
{
    auto* dialog = new QFileDialog(this);
    dialog->setObjectName("OpenDialog");
    // A typed name is returned also when no such file exists: opening it then reports the
    // file-open error, as for any file that cannot be opened.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // The built-in dialog shows the filter texts as they are written.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters(ToNameFilters(QString::fromUtf8(kDataFileFilter)));
    dialog->selectFile("Qelvint.dll");
    // The completion list under the file name box is a window of its own, which Return in the
    // box leaves standing when it closes the dialog: it goes with the dialog.
    connect(dialog, &QDialog::finished, dialog, [dialog] {
        for (QCompleter* completer : dialog->findChildren<QCompleter*>())
            completer->popup()->hide();
    });
    return dialog;
}

} // namespace kt63
