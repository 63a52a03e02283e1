#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <memory>

class QEvent;

namespace kt63 {

class THintWindow;

// The tooltips of the program: which control a tooltip is pending or shown for, one timer that
// either waits to show it or waits to hide it, and the tooltip window itself. Mouse moves start
// the show timer; resting there shows the control's short hint below it; the hide timer takes
// it away again, and it stays away until the pointer has left the control.
class TooltipController : public QObject
{
    Q_OBJECT

public:
    static constexpr int kShowDelay = 500;
    static constexpr int kShortShowDelay = 50;
    static constexpr int kHideDelay = 2500;

    enum class TimerMode { Show, Hide };

    TooltipController();
    ~TooltipController() override;

    // Whether tooltips are shown at all; on unless switched off.
    bool TooltipsOn() const { return mTooltipsOn; }
    void SetTooltipsOn(bool on) { mTooltipsOn = on; }

    // The control whose tooltip is pending or shown; null when none.
    QWidget* Control() const { return mControl; }
    // True from the moment a tooltip shows until it is cancelled; hiding leaves it true, so
    // that the next control shows its tooltip after the short delay.
    bool Active() const { return mActive; }
    // The control's bounds on the screen when its tooltip was shown.
    const QRect& Area() const { return mArea; }
    const THintWindow& Window() const { return *mWindow; }

    // The one tooltip timer and what it is waiting for. Tests read these and call TimerExpired
    // themselves instead of waiting.
    const QTimer& Timer() const { return mTimer; }
    TimerMode Mode() const { return mMode; }
    void TimerExpired();

    // Takes a look at every event before it is delivered: input and activation cancel the
    // tooltip, mouse moves over a widget may start one.
    void Observe(QObject* receiver, const QEvent* event);

    // The pointer is at `globalPos`: the first control there or above it that shows tooltips
    // gets the show timer, unless its tooltip is already pending or shown for that spot.
    void MouseMoved(const QPoint& globalPos);

    // Hides the tooltip, stops the timer, forgets the control and clears Active.
    void Cancel();

private:
    void StartTimer(TimerMode mode, int delay);
    void ShowTooltip();

    bool mTooltipsOn = true;
    QPointer<QWidget> mControl;
    bool mActive = false;
    QRect mArea;
    QTimer mTimer;
    TimerMode mMode = TimerMode::Show;
    std::unique_ptr<THintWindow> mWindow;
};

} // namespace kt63
