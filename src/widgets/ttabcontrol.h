#pragma once

#include <QStringList>
#include <QWidget>

namespace kt63 {

class TabRow;

// A tab strip: one row of tabs over one shared area framed below it. The tabs own no pages; the
// controls in the area are children of the tab control itself, placed in its own coordinates
// (from its top-left corner, above the row of tabs), and stay the same for every tab.
class TTabControl : public QWidget
{
    Q_OBJECT

public:
    explicit TTabControl(QWidget* parent = nullptr);

    // The tab captions, in one row. "&" is shown as itself: no tab has an access key, so that
    // every change of tab passes `OnChanging`. Setting the tabs keeps the selected tab when it
    // still exists and selects the first tab otherwise; it fires nothing.
    QStringList Tabs() const { return mTabs; }
    void SetTabs(const QStringList& tabs);

    // The selected tab counted from 0; -1 only while there are no tabs. Setting it selects that
    // tab and fires nothing; an index that names no tab is ignored.
    int TabIndex() const;
    void SetTabIndex(int index);

    // The row of tabs: the control's stop in the focus order, which leads on to its children.
    QWidget* Row() const;

signals:
    // Asked before the user's change of tab takes effect; clearing `allowChange` refuses it.
    void OnChanging(bool& allowChange);
    // The user has selected another tab; `TabIndex` is already the new tab.
    void OnChange();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SelectByUser(int index);
    void LayOutRow();
    QRect FrameRect() const;

    TabRow* mRow;
    QStringList mTabs;
};

} // namespace kt63
