#include "ttabcontrol.h"

#include "tabrow.h"

#include <QEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace kt63 {

TTabControl::TTabControl(QWidget* parent) : QWidget(parent), mRow(new TabRow(this))
{
    // Created first, the row comes first in the focus order, before the area's controls.
    setFocusProxy(mRow);
    connect(mRow, &TabRow::TabRequested, this, &TTabControl::SelectByUser);
    LayOutRow();
}

void TTabControl::SetTabs(const QStringList& tabs)
{
    const int kept = TabIndex();
    mTabs = tabs;
    while (mRow->count() > 0)
        mRow->removeTab(mRow->count() - 1);
    for (QString text : tabs)
        mRow->addTab(text.replace(u'&', QStringLiteral("&&")));
    if (kept >= 0 && kept < mRow->count())
        mRow->setCurrentIndex(kept);
    else if (mRow->count() > 0)
        mRow->setCurrentIndex(0);
    LayOutRow();
}

int TTabControl::TabIndex() const
{
    return mRow->currentIndex();
}

void TTabControl::SetTabIndex(int index)
{
    if (index >= 0 && index < mRow->count())
        mRow->setCurrentIndex(index);
}

QWidget* TTabControl::Row() const
{
    return mRow;
}

void TTabControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutRow();
}

void TTabControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        LayOutRow();
}

void TTabControl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.rect = FrameRect();
    option.shape = mRow->shape();
    option.tabBarSize = mRow->size();
    option.tabBarRect = mRow->geometry();
    if (TabIndex() >= 0)
        option.selectedTabRect = mRow->tabRect(TabIndex()).translated(mRow->pos());
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, option);
}

// The one place where the user's change of tab is decided, and `OnChanging` and `OnChange`
// leave. The tab is selected before `OnChange` runs, so a handler that throws leaves it selected.
void TTabControl::SelectByUser(int index)
{
    if (index == TabIndex())
        return;
    bool allowChange = true;
    emit OnChanging(allowChange);
    if (!allowChange)
        return;
    mRow->setCurrentIndex(index);
    emit OnChange();
}

void TTabControl::LayOutRow()
{
    mRow->setGeometry(0, 0, width(), mRow->sizeHint().height());
    update();
}

QRect TTabControl::FrameRect() const
{
    QStyleOptionTab tabOption;
    tabOption.initFrom(mRow);
    tabOption.shape = mRow->shape();
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, &tabOption, mRow);
    return rect().adjusted(0, mRow->height() - overlap, 0, 0);
}

} // namespace kt63
