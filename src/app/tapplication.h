#pragma once

#include "tooltipcontroller.h"

#include <QApplication>
#include <QString>

#include <functional>

namespace kt63 {

// The application object: the program's title, the hint in force with its change handler, the
// tooltips, and the error guard under which every event runs. An error that leaves an event
// handler is shown in a box and the program goes on with the next event.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    // The running application object, or null when the application is no TApplication.
    static TApplication* Instance();

    // The program's name for the user: the caption of error boxes and the name the desktop
    // lists the program under. Empty until set.
    const QString& Title() const { return mTitle; }
    void SetTitle(const QString& title);

    // The long hint in force, shown in the status bar; empty at start. Setting another text
    // stores it and runs the handler; setting the same text does nothing.
    const QString& Hint() const { return mHint; }
    void SetHint(const QString& hint);

    // Runs after each change of Hint; the main window sets it to show the hint.
    const std::function<void()>& OnHint() const { return mOnHint; }
    void SetOnHint(std::function<void()> handler) { mOnHint = std::move(handler); }

    TooltipController& Tooltip() { return mTooltip; }

    // The step taken each time the event queue runs empty: the hint of the control under the
    // mouse (or, while a menu is open, of its highlighted item) becomes the hint in force, and
    // a tooltip with nothing of the program under the mouse goes away.
    void Idle();

    // Lets the tooltips see the event, then delivers it under the error guard.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void MenuIdle(const QAction* highlighted);

    QString mTitle;
    QString mHint;
    std::function<void()> mOnHint;
    TooltipController mTooltip;
    bool mMenuOpen = false;
};

} // namespace kt63
