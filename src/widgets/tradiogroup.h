#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

namespace kt63 {

class TGroupButton;

// A framed box with a caption and one radio button per item, laid out in columns. The caption
// stands on the frame's top line; the buttons are arranged below it, inside the frame. `ItemIndex`
// is the selected item counted from 0, or -1 for none; outside loading it always lies between
// -1 and the number of items - 1, and exactly its button shows the check mark.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    // The caption shown in the frame.
    QString Caption() const { return title(); }
    void SetCaption(const QString& caption) { setTitle(caption); }

    // The item texts, one button each, in order. Every change of the items brings `ItemIndex`
    // down to the last item if it lay beyond it, without `OnClick`, relabels the buttons, shows
    // the selection and arranges the buttons again.
    QStringList Items() const { return mItems; }
    void SetItems(const QStringList& items);
    void AddItem(const QString& text);
    void RemoveItem(int index);
    void SetItemText(int index, const QString& text);

    // The number of columns, 1 to 16; other values are brought to the nearer end. A change
    // arranges the buttons again.
    int Columns() const { return mColumns; }
    void SetColumns(int columns);

    // Setting brings `index` within -1 to the last item. A result equal to the current index
    // changes nothing; any other one moves the check mark and, when it is 0 or more, fires
    // `OnClick` exactly as the user's choice does. While loading the value is stored as given.
    int ItemIndex() const { return mItemIndex; }
    void SetItemIndex(int index);

    // Between these two calls the group is being built: `ItemIndex` is stored as it comes and
    // nothing is shown or arranged. `EndLoading` brings the index within the items (without
    // `OnClick`), shows the selection and arranges the buttons.
    void BeginLoading();
    void EndLoading();

    // The button of item `index`, for focus order and tests; null when there is none.
    TGroupButton* Button(int index) const;

signals:
    // The selection moved to an item: by the user's choice of a button that was not selected,
    // or by setting `ItemIndex` to another item. Inside, `ItemIndex` is already the new item.
    void OnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The character height of the group's font, in pixels, which places caption and buttons.
    int CharacterHeight() const;
    int Bound(int index) const;
    void Select(int index);
    void ItemsChanged();
    void SyncButtons();
    TGroupButton* CreateButton();
    void ShowSelection();
    void ArrangeButtons();
    void ChooseByUser(TGroupButton* button);
    void StepFrom(TGroupButton* button, int delta);

    QStringList mItems;
    QList<TGroupButton*> mButtons;
    int mColumns = 1;
    int mItemIndex = -1;
    bool mLoading = false;
};

} // namespace kt63
