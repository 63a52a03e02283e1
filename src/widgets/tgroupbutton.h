#pragma once

#include <QRadioButton>

namespace kt63 {

// One radio button of a TRadioGroup. Its check mark is set by the group alone: a click or Space
// only reports the choice (through `clicked`), and the arrow keys ask the group to move the
// choice to a neighbour, so that the group decides whether anything changed and fires once.
class TGroupButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit TGroupButton(QWidget* parent = nullptr);

signals:
    // An arrow key asked to choose the button `delta` places before (-1) or after (+1) this one.
    void ArrowPressed(int delta);

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kt63
