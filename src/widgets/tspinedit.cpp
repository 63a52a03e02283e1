#include "tspinedit.h"

#include "spingeometry.h"
#include "spinrange.h"
#include "spintext.h"
#include "systembeep.h"
#include "tspinbutton.h"
#include "ttimerspeedbutton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include <utility>

namespace kt63 {

namespace {

// Thin window borders are one pixel on every desktop the editor runs on.
constexpr int kWindowBorder = 1;

// The arrow pair and the text area are laid out inside a sunken edge of this width, whatever the
// style draws; a thinner frame only leaves a little more room around them.
constexpr int kSunkenEdge = 2;

// QLineEdit keeps this many pixels free inside its text rectangle on the left and on the right.
constexpr int kLineEditInnerMargin = 2;

// The column after the last character, where QLineEdit draws the cursor.
constexpr int kCursorColumn = 1;

// Window activation, popup menus and the menu bar, while the user works the menus with the
// keys, hand the focus back to the control that had it; the focus has then not come from, or
// gone to, another control.
bool MovesBetweenControls(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

// Where the focus rests while the menus are worked: the menu bar, or nowhere in the program.
bool IsWithTheMenus(const QWidget* widget)
{
    return !widget || qobject_cast<const QMenuBar*>(widget) ||
           widget->window()->windowType() == Qt::Popup;
}

} // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QLineEdit(QStringLiteral("0"), parent), mButton(new TSpinButton(this))
{
    // Drops and input methods would bypass the character filter and the length limit; a
    // refused drop goes on to the window, which takes dropped files.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    mButton->setCursor(Qt::ArrowCursor);
    mButton->SetFocusControl(this);
    connect(mButton, &TSpinButton::OnUpClick, this, &TSpinEdit::StepUp);
    connect(mButton, &TSpinButton::OnDownClick, this, &TSpinEdit::StepDown);
    for (TTimerSpeedButton* arrow : {mButton->UpButton(), mButton->DownButton()}) {
        connect(arrow, &TTimerSpeedButton::OnMouseDown, this, &TSpinEdit::SelectAllAfterArrowPress);
    }
    UpdateMinimumHeight();
    LayOut();
}

int32_t TSpinEdit::Value()
{
    const SpinParse parsed = ParseSpinText(text());
    if (parsed.valid) {
        return parsed.value;
    }
    setText(QString::number(mMinValue));
    return mMinValue;
}

void TSpinEdit::SetValue(int32_t value)
{
    WriteBounded(value);
}

void TSpinEdit::SetReadOnly(bool readOnly)
{
    setReadOnly(readOnly);
    // QLineEdit switches input methods back on when it becomes writable.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TSpinEdit::StepUp()
{
    Step(mIncrement);
}

void TSpinEdit::StepDown()
{
    Step(-int64_t{mIncrement});
}

void TSpinEdit::Step(int64_t delta)
{
    if (isReadOnly()) {
        SystemBeep();
        return;
    }
    WriteBounded(int64_t{Value()} + delta);
}

void TSpinEdit::WriteBounded(int64_t value)
{
    setText(QString::number(BoundSpinValue(value, mMinValue, mMaxValue)));
}

QRect TSpinEdit::ClientRect() const
{
    return rect().adjusted(kSunkenEdge, kSunkenEdge, -kSunkenEdge, -kSunkenEdge);
}

void TSpinEdit::focusInEvent(QFocusEvent* event)
{
    const int cursor = cursorPosition();
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    mMouseEntryPending = false;
    if (!MovesBetweenControls(event->reason())) {
        return;
    }
    if (!mAutoSelect) {
        // QLineEdit selects everything on Tab by itself; undo that.
        if (!hadSelection && hasSelectedText()) {
            setCursorPosition(cursor);
        }
        return;
    }
    if (event->reason() == Qt::MouseFocusReason) {
        mMouseEntryPending = true;
        return;
    }
    selectAll();
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    mMouseEntryPending = false;
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::MenuBarFocusReason) {
        FollowFocusLentToMenuBar();
    }
    if (MovesBetweenControls(event->reason())) {
        BringWithinLimits();
    }
}

void TSpinEdit::BringWithinLimits()
{
    const int32_t value = Value();
    if (BoundSpinValue(value, mMinValue, mMaxValue) != value) {
        SetValue(value);
    }
}

// The menu bar takes the focus while the user works the menus with the keys and gives it back
// when the menu closes, before the chosen command runs: the field has not been left, and a
// command reads the value as typed. Only when the focus goes on from the menus to another
// control is the field left.
void TSpinEdit::FollowFocusLentToMenuBar()
{
    disconnect(mFocusLentToMenuBar);
    mFocusLentToMenuBar =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (IsWithTheMenus(now)) {
                return;
            }
            disconnect(mFocusLentToMenuBar);
            if (now != this) {
                BringWithinLimits();
            }
        });
}

// The focus is given before the press is delivered, so only the press tells whether it landed
// in the text (caret where the user clicked) or on an arrow (select all).
void TSpinEdit::mousePressEvent(QMouseEvent* event)
{
    const bool entering = std::exchange(mMouseEntryPending, false);
    QLineEdit::mousePressEvent(event);
    if (entering && event->button() != Qt::LeftButton) {
        selectAll();
    }
}

void TSpinEdit::SelectAllAfterArrowPress()
{
    if (std::exchange(mMouseEntryPending, false)) {
        selectAll();
    }
}

void TSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    LayOut();
}

void TSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
        UpdateMinimumHeight();
        LayOut();
        break;
    default:
        break;
    }
}

void TSpinEdit::UpdateMinimumHeight()
{
    const int lineHeight = QFontMetrics(font()).height();
    const int systemLineHeight = QFontMetrics(QApplication::font()).height();
    setMinimumHeight(SpinMinimumHeight(lineHeight, systemLineHeight, kWindowBorder));
}

// Places the arrow pair and makes the rectangle QLineEdit lays its text into the text area. That
// rectangle is the style's contents rectangle less the text margins less QLineEdit's own inner
// margin on either side, and it must reach one pixel past the end of the text, where the cursor
// stands, or the text scrolls; the margins give both back, so that the widest value a field can
// show starts at the text area's left edge instead of being pushed under the frame.
void TSpinEdit::LayOut()
{
    const QRect client = ClientRect();
    const QRect pair = SpinButtonRect(size()).translated(client.topLeft());
    mButton->setGeometry(pair);
    const QRect wanted = SpinTextArea(client.size(), pair.width()).translated(client.topLeft());
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    setTextMargins(wanted.left() - contents.left() - kLineEditInnerMargin,
                   wanted.top() - contents.top(),
                   contents.right() - wanted.right() - kLineEditInnerMargin - kCursorColumn,
                   contents.bottom() - wanted.bottom());
}

} // namespace kt63
