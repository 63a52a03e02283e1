#include "tabrow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace kt63 {

TabRow::TabRow(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false); // the tab control draws the frame under the row
    setExpanding(false);
}

void TabRow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0 && isTabEnabled(index)) {
            event->accept();
            emit TabRequested(index);
            return;
        }
    }
    QTabBar::mousePressEvent(event);
}

void TabRow::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        QTabBar::keyPressEvent(event);
        return;
    }
    const bool backwards = (key == Qt::Key_Left) != isRightToLeft();
    const int index = NextEnabledTab(backwards ? -1 : 1);
    if (index < 0) {
        event->ignore();
        return;
    }
    event->accept();
    emit TabRequested(index);
}

void TabRow::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

// The row does not wrap around: at either end the key does nothing.
int TabRow::NextEnabledTab(int step) const
{
    for (int index = currentIndex() + step; index >= 0 && index < count(); index += step) {
        if (isTabEnabled(index))
            return index;
    }
    return -1;
}

} // namespace kt63
