#include "tradiogroup.h"

#include "buttongrid.h"
#include "shownrange.h"
#include "tgroupbutton.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace kt63 {

namespace {

// Where the caption starts, from the group's left edge.
constexpr int kCaptionLeft = 8;

} // namespace

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {}

void TRadioGroup::SetItems(const QStringList& items)
{
    mItems = items;
    ItemsChanged();
}

void TRadioGroup::AddItem(const QString& text)
{
    mItems.append(text);
    ItemsChanged();
}

void TRadioGroup::RemoveItem(int index)
{
    if (index < 0 || index >= mItems.size())
        return;
    mItems.removeAt(index);
    ItemsChanged();
}

void TRadioGroup::SetItemText(int index, const QString& text)
{
    if (index < 0 || index >= mItems.size())
        return;
    mItems[index] = text;
    ItemsChanged();
}

void TRadioGroup::SetColumns(int columns)
{
    columns = std::clamp(columns, 1, 16);
    if (columns == mColumns)
        return;
    mColumns = columns;
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (mLoading) {
        mItemIndex = index;
        return;
    }
    Select(Bound(index));
}

void TRadioGroup::BeginLoading()
{
    mLoading = true;
}

void TRadioGroup::EndLoading()
{
    mLoading = false;
    mItemIndex = Bound(mItemIndex);
    ShowSelection();
    ArrangeButtons();
}

TGroupButton* TRadioGroup::Button(int index) const
{
    return index >= 0 && index < mButtons.size() ? mButtons.at(index) : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ArrangeButtons();
}

// The frame is etched like the window's other frames. The caption is drawn over its top line
// on the group's own background, so the line stops on either side of it.
void TRadioGroup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int charHeight = CharacterHeight();
    qDrawShadeRect(&painter, GroupFrameRect(size(), charHeight), palette(), true, 1, 0);
    if (title().isEmpty())
        return;
    const QRect caption(kCaptionLeft, 0, fontMetrics().horizontalAdvance(title()),
                        fontMetrics().height());
    painter.fillRect(caption, palette().window());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
}

int TRadioGroup::CharacterHeight() const
{
    return QFontInfo(font()).pixelSize();
}

int TRadioGroup::Bound(int index) const
{
    return BoundItemIndex(index, static_cast<int32_t>(mItems.size()));
}

// The one place where the selection changes and `OnClick` leaves. The check marks are set
// before the handler runs, so a handler that throws leaves the new selection standing.
void TRadioGroup::Select(int index)
{
    if (index == mItemIndex)
        return;
    mItemIndex = index;
    ShowSelection();
    if (index >= 0)
        emit OnClick();
}

void TRadioGroup::ItemsChanged()
{
    SyncButtons();
    if (mLoading)
        return;
    mItemIndex = std::min(mItemIndex, static_cast<int>(mItems.size()) - 1);
    ShowSelection();
    ArrangeButtons();
}

void TRadioGroup::SyncButtons()
{
    while (mButtons.size() > mItems.size()) {
        // Later, not now: the button may be the one whose click is being handled.
        TGroupButton* button = mButtons.takeLast();
        button->hide();
        button->deleteLater();
    }
    while (mButtons.size() < mItems.size())
        mButtons.append(CreateButton());
    for (qsizetype i = 0; i < mButtons.size(); ++i)
        mButtons.at(i)->setText(mItems.at(i));
}

TGroupButton* TRadioGroup::CreateButton()
{
    auto* button = new TGroupButton(this);
    button->hide(); // shown once arranged
    connect(button, &TGroupButton::clicked, this, [this, button] { ChooseByUser(button); });
    connect(button, &TGroupButton::ArrowPressed, this,
            [this, button](int delta) { StepFrom(button, delta); });
    return button;
}

void TRadioGroup::ShowSelection()
{
    // The Tab key enters the group on its selected button, or on the first when none is.
    const int tabStop = std::max(mItemIndex, 0);
    for (qsizetype i = 0; i < mButtons.size(); ++i) {
        TGroupButton* button = mButtons.at(i);
        button->setChecked(i == mItemIndex);
        button->setFocusPolicy(i == tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void TRadioGroup::ArrangeButtons()
{
    if (mLoading)
        return;
    const QList<QRect> rects =
        ArrangeButtonGrid(static_cast<int>(mButtons.size()), mColumns, size(), CharacterHeight());
    for (qsizetype i = 0; i < rects.size(); ++i) {
        mButtons.at(i)->setGeometry(rects.at(i));
        mButtons.at(i)->show();
    }
}

void TRadioGroup::ChooseByUser(TGroupButton* button)
{
    const qsizetype index = mButtons.indexOf(button);
    if (index >= 0)
        Select(static_cast<int>(index));
}

// The arrow keys go round the group's buttons, taking the focus and the choice along.
void TRadioGroup::StepFrom(TGroupButton* button, int delta)
{
    const qsizetype count = mButtons.size();
    const qsizetype from = mButtons.indexOf(button);
    if (from < 0)
        return;
    const qsizetype to = (from + delta + count) % count;
    mButtons.at(to)->setFocus(delta < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    Select(static_cast<int>(to));
}

} // namespace kt63
