#include "tooltipcontroller.h"

#include "controlhint.h"
#include "thintwindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>

namespace kt63 {

namespace {

// Whatever the user does besides moving the mouse inside a window takes the tooltip away.
bool CancelsTooltip(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::ApplicationActivate:
    case QEvent::ApplicationDeactivate:
    case QEvent::ApplicationStateChange:
        return true;
    default:
        return false;
    }
}

QWidget* FirstShowingHints(QWidget* control)
{
    while (control && !ShowsHints(control))
        control = control->isWindow() ? nullptr : control->parentWidget();
    return control;
}

} // namespace

TooltipController::TooltipController() : mWindow(std::make_unique<THintWindow>())
{
    mTimer.setSingleShot(true);
    connect(&mTimer, &QTimer::timeout, this, &TooltipController::TimerExpired);
}

TooltipController::~TooltipController() = default;

void TooltipController::Observe(QObject* receiver, const QEvent* event)
{
    if (CancelsTooltip(event->type()))
        Cancel();
    else if (event->type() == QEvent::MouseMove && receiver->isWidgetType())
        MouseMoved(static_cast<const QMouseEvent*>(event)->globalPosition().toPoint());
}

void TooltipController::MouseMoved(const QPoint& globalPos)
{
    QWidget* control = FirstShowingHints(QApplication::widgetAt(globalPos));
    if (!control) {
        Cancel();
        return;
    }
    if (control == mControl && mArea.contains(globalPos))
        return;
    const bool wasActive = mActive;
    Cancel();
    mActive = wasActive;
    mControl = control;
    StartTimer(TimerMode::Show, wasActive ? kShortShowDelay : kShowDelay);
}

void TooltipController::TimerExpired()
{
    mTimer.stop();
    if (mMode == TimerMode::Hide) {
        mWindow->hide();
        return;
    }
    ShowTooltip();
}

void TooltipController::Cancel()
{
    mWindow->hide();
    mTimer.stop();
    mControl = nullptr;
    mActive = false;
}

void TooltipController::StartTimer(TimerMode mode, int delay)
{
    mMode = mode;
    mTimer.start(delay);
}

void TooltipController::ShowTooltip()
{
    if (!mTooltipsOn || !mControl || !QApplication::activeWindow()) {
        Cancel();
        return;
    }
    const QString text = ShortHint(FindHint(mControl));
    if (text.isEmpty()) {
        Cancel();
        return;
    }
    const QRect screen = mControl->screen()->geometry();
    const QRect control(mControl->mapToGlobal(QPoint(0, 0)), mControl->size());
    const QRect bounds = PlaceTooltip(control, mWindow->SizeFor(text, screen.width()), screen);
    mArea = control;
    mActive = true;
    mWindow->ActivateHint(bounds, text);
    StartTimer(TimerMode::Hide, kHideDelay);
}

} // namespace kt63
