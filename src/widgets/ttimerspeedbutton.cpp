#include "ttimerspeedbutton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTimer>

namespace kt63 {

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TTimerSpeedButton::SetGlyph(const QPixmap& glyph)
{
    mGlyph = glyph;
    update();
}

void TTimerSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= mShownPressed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
    const int shift = mShownPressed ? 1 : 0;
    painter.drawPixmap((width() - mGlyph.width()) / 2 + shift,
                       (height() - mGlyph.height()) / 2 + shift, mGlyph);
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    mHeld = true;
    SetShownPressed(true);
    emit OnMouseDown();
    if (!mRepeatTimer) {
        mRepeatTimer = new QTimer(this);
        connect(mRepeatTimer, &QTimer::timeout, this, &TTimerSpeedButton::RepeatTimerFired);
    }
    mRepeatTimer->start(kFirstRepeatDelay);
}

void TTimerSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (mHeld) {
        SetShownPressed(rect().contains(event->position().toPoint()));
    }
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !mHeld) {
        return;
    }
    const bool over = rect().contains(event->position().toPoint());
    CancelPress();
    if (over) {
        emit OnClick();
    }
}

// A hidden or disabled button never sees the release, so it must not keep repeating.
void TTimerSpeedButton::hideEvent(QHideEvent*)
{
    CancelPress();
}

void TTimerSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        CancelPress();
    }
    QWidget::changeEvent(event);
}

void TTimerSpeedButton::RepeatTimerFired()
{
    mRepeatTimer->setInterval(kRepeatInterval);
    if (!mHeld || !mShownPressed) {
        return;
    }
    try {
        emit OnClick();
    } catch (...) {
        // The failure goes on to the application; a timer left running would raise it again
        // every 100 ms behind the message that reports it.
        mRepeatTimer->stop();
        throw;
    }
}

void TTimerSpeedButton::CancelPress()
{
    if (mRepeatTimer) {
        mRepeatTimer->stop();
    }
    mHeld = false;
    SetShownPressed(false);
}

void TTimerSpeedButton::SetShownPressed(bool pressed)
{
    if (mShownPressed != pressed) {
        mShownPressed = pressed;
        update();
    }
}

} // namespace kt63
