#include "tapplication.h"

#include "controlhint.h"
#include "errorguard.h"
#include "thintwindow.h"

#include <QAbstractEventDispatcher>
#include <QCursor>
#include <QMenu>

namespace kt63 {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TApplication::Idle);
}

// The idle step must not run on what is left of the application while it is taken down.
TApplication::~TApplication()
{
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
}

TApplication* TApplication::Instance()
{
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetTitle(const QString& title)
{
    mTitle = title;
    // The name the desktop lists the program under. Not the display name: that one the desktop
    // would append to every window caption, and the main window's caption is its own.
    setApplicationName(title);
}

void TApplication::SetHint(const QString& hint)
{
    if (hint == mHint)
        return;
    mHint = hint;
    if (mOnHint)
        mOnHint();
}

void TApplication::Idle()
{
    QWidget* control = widgetAt(QCursor::pos());
    if (mTooltip.TooltipsOn() && (!control || control->window() == &mTooltip.Window()))
        mTooltip.Cancel();
    // A menu takes the mouse while it is open: what the user points at there is its item.
    if (const auto* menu = qobject_cast<QMenu*>(activePopupWidget())) {
        MenuIdle(menu->activeAction());
        return;
    }
    if (mMenuOpen) {
        mMenuOpen = false;
        SetHint(QString());
    }
    SetHint(LongHint(FindHint(control)));
}

void TApplication::MenuIdle(const QAction* highlighted)
{
    mMenuOpen = true;
    SetHint(highlighted ? LongHint(ControlHint(highlighted)) : QString());
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    mTooltip.Observe(receiver, event);
    bool result = true;
    RunGuarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace kt63
