#include "tgroupbutton.h"

#include <QKeyEvent>

namespace kt63 {

namespace {

int ArrowDelta(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        return -1;
    case Qt::Key_Down:
    case Qt::Key_Right:
        return 1;
    default:
        return 0;
    }
}

} // namespace

TGroupButton::TGroupButton(QWidget* parent) : QRadioButton(parent)
{
    // The group keeps exactly one button checked; Qt's own exclusivity would decide for it.
    setAutoExclusive(false);
}

void TGroupButton::nextCheckState()
{
    // Deliberately empty: a click must not toggle the mark, the group sets it after the choice.
}

void TGroupButton::keyPressEvent(QKeyEvent* event)
{
    const int delta = ArrowDelta(*event);
    if (delta == 0 || (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    event->accept();
    emit ArrowPressed(delta);
}

} // namespace kt63
