#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kt63::test {

// A window shaped like the editor's: a tool bar panel that shows tooltips, with four buttons
// carrying the editor's hints, and below it controls that show none.
struct ToolbarWindow
{
    ToolbarWindow();

    QWidget window;
    QWidget* panel;
    std::array<QToolButton*, 4> buttons;
    QLabel* plainLabel;       // no hint
    QLineEdit* disabledEdit;  // no hint, disabled
    QLabel* hintedLabel;      // a hint, but outside the panel
    QWidget* hintedContainer; // a hint that its child without one inherits
    QWidget* childOfHinted;
};

// Puts the pointer on `control` at `local` (its centre by default) and delivers the move to
// the window as the platform would.
void MoveMouse(QWidget* control, QPoint local = QPoint(-1, -1));

// Shows `window` and makes it the active window.
bool ShowActive(QWidget& window);

} // namespace kt63::test
