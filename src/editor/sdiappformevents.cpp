// Which event starts which command, and the window's creation handler.

#include "tsdiappform.h"

#include "controlhint.h"
#include "dragacceptfiles.h"
#include "errorguard.h"
#include "tapplication.h"
#include "tcombobox.h"
#include "tradiogroup.h"
#include "ttabcontrol.h"

#include <QAction>
#include <QStatusBar>
#include <QToolButton>

namespace kt63 {

namespace {

// Each command runs under the error guard, so that an error it raises (a file that cannot be
// opened) is shown and stops in our code instead of unwinding through Qt's.
auto Command(TSDIAppForm* form, void (TSDIAppForm::*handler)())
{
    return [form, handler] { RunGuarded([form, handler] { (form->*handler)(); }); };
}

} // namespace

void TSDIAppForm::ConnectEvents()
{
    connect(OpenItem, &QAction::triggered, this, Command(this, &TSDIAppForm::OpenItemClick));
    connect(OpenBtn, &QToolButton::clicked, this, Command(this, &TSDIAppForm::OpenItemClick));
    connect(SaveItem, &QAction::triggered, this, Command(this, &TSDIAppForm::WriteClick));
    connect(SaveBtn, &QToolButton::clicked, this, Command(this, &TSDIAppForm::WriteClick));
    connect(ExitItem, &QAction::triggered, this, Command(this, &TSDIAppForm::ExitItemClick));
    connect(ExitBtn, &QToolButton::clicked, this, Command(this, &TSDIAppForm::ExitItemClick));
    connect(Read, &QToolButton::clicked, this, Command(this, &TSDIAppForm::ReadClick));
    connect(ComboBox1, &TComboBox::OnClick, this, Command(this, &TSDIAppForm::ComboBox1Click));
    connect(ComboBox2, &TComboBox::OnClick, this, Command(this, &TSDIAppForm::ComboBox2Click));
    connect(TabControl1, &TTabControl::OnChange, this,
            Command(this, &TSDIAppForm::TabControl1Change));
    // A click on another equipment slot reloads the armament exactly as a change of tab does.
    connect(RadioGroup3, &TRadioGroup::OnClick, this,
            Command(this, &TSDIAppForm::TabControl1Change));
    connect(About1, &QAction::triggered, this, Command(this, &TSDIAppForm::About1Click));
}

// Runs once the window is complete: from here on the long hints go to the status bar and files
// dropped on the window are opened.
void TSDIAppForm::FormCreate()
{
    if (TApplication* application = TApplication::Instance())
        application->SetOnHint([this] { ShowHint(); });
    DragAcceptFiles(this, [this](const QStringList& paths) { FormDropFiles(paths); });
}

void TSDIAppForm::ShowHint()
{
    const TApplication* application = TApplication::Instance();
    StatusBar->showMessage(application ? application->Hint() : QString());
    StatusBar->repaint();
}

} // namespace kt63
