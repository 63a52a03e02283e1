#pragma once

#include <QTabBar>

namespace kt63 {

// The row of tabs of a TTabControl. It never changes the selected tab on its own: a mouse press
// on a tab or an arrow key only asks for that tab (`TabRequested`), so that the tab control can
// ask `OnChanging` first. The mouse wheel does not switch tabs.
class TabRow : public QTabBar
{
    Q_OBJECT

public:
    explicit TabRow(QWidget* parent = nullptr);

signals:
    // The user asked for tab `index`, which is enabled and may be the selected one.
    void TabRequested(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int NextEnabledTab(int step) const;
};

} // namespace kt63
