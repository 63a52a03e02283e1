#include "toolbarwindow.h"

#include "controlhint.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace kt63::test {

ToolbarWindow::ToolbarWindow()
{
    window.setGeometry(100, 100, 400, 300);
    panel = new QWidget(&window);
    panel->setGeometry(0, 0, 400, 34);
    SetShowHint(panel, true);

    const int lefts[] = {11, 38, 75, 115};
    const int widths[] = {28, 28, 29, 29};
    const char* hints[] = {"開く|", "保存|", "終了|", "読み込み|入力箇所に表示します"};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QToolButton(panel);
        buttons[i]->setGeometry(lefts[i], 2, widths[i], 28);
        SetControlHint(buttons[i], QString::fromUtf8(hints[i]));
    }

    plainLabel = new QLabel(QStringLiteral("label"), &window);
    plainLabel->setGeometry(10, 60, 80, 20);
    disabledEdit = new QLineEdit(&window);
    disabledEdit->setGeometry(10, 100, 80, 24);
    disabledEdit->setEnabled(false);
    hintedLabel = new QLabel(QStringLiteral("hinted"), &window);
    hintedLabel->setGeometry(10, 140, 80, 20);
    SetControlHint(hintedLabel, QStringLiteral("外|外の説明"));
    hintedContainer = new QWidget(&window);
    hintedContainer->setGeometry(200, 60, 150, 100);
    SetControlHint(hintedContainer, QStringLiteral("枠の説明"));
    childOfHinted = new QLabel(QStringLiteral("child"), hintedContainer);
    childOfHinted->setGeometry(10, 10, 60, 20);
}

void MoveMouse(QWidget* control, QPoint local)
{
    if (local == QPoint(-1, -1))
        local = control->rect().center();
    const QPoint global = control->mapToGlobal(local);
    QCursor::setPos(global);
    QWidget* window = control->window();
    QTest::mouseMove(window->windowHandle(), window->mapFromGlobal(global));
}

bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace kt63::test
