#include "tspinbutton.h"

#include "spingeometry.h"
#include "spinglyphs.h"
#include "ttimerspeedbutton.h"

#include <QResizeEvent>

namespace kt63 {

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent), mUpButton(new TTimerSpeedButton(this)),
      mDownButton(new TTimerSpeedButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(kSpinButtonWidth);
    mUpButton->SetGlyph(LoadSpinGlyph(QStringLiteral("SpinUp")));
    mDownButton->SetGlyph(LoadSpinGlyph(QStringLiteral("SpinDown")));
    connect(mUpButton, &TTimerSpeedButton::OnMouseDown, this, &TSpinButton::FocusOnArrowPress);
    connect(mDownButton, &TTimerSpeedButton::OnMouseDown, this, &TSpinButton::FocusOnArrowPress);
    connect(mUpButton, &TTimerSpeedButton::OnClick, this, &TSpinButton::OnUpClick);
    connect(mDownButton, &TTimerSpeedButton::OnClick, this, &TSpinButton::OnDownClick);
}

void TSpinButton::SetFocusControl(QWidget* control)
{
    mFocusControl = control;
}

const QPixmap& TSpinButton::UpGlyph() const
{
    return mUpButton->Glyph();
}

void TSpinButton::SetUpGlyph(const QPixmap& glyph)
{
    mUpButton->SetGlyph(glyph);
}

const QPixmap& TSpinButton::DownGlyph() const
{
    return mDownButton->Glyph();
}

void TSpinButton::SetDownGlyph(const QPixmap& glyph)
{
    mDownButton->SetGlyph(glyph);
}

void TSpinButton::resizeEvent(QResizeEvent* event)
{
    mUpButton->setGeometry(SpinUpRect(event->size()));
    mDownButton->setGeometry(SpinDownRect(event->size()));
}

void TSpinButton::FocusOnArrowPress()
{
    QWidget* control = mFocusControl;
    if (control && !control->hasFocus() && control->isEnabled() && control->isVisible() &&
        control->focusPolicy() != Qt::NoFocus) {
        control->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace kt63
