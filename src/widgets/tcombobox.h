#pragma once

#include <QComboBox>

namespace kt63 {

class TComboEdit;

// A drop-down list with an editable text box (the one style the editor uses): the user types
// into the box or picks an item from the list that drops down below it. Items stay in the order
// appended. `ItemIndex` is the selected item, -1 for none; it keeps naming the item last
// selected while text the user typed stands in the box.
class TComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(QWidget* parent = nullptr);

    // Appends `text` at the end, duplicates kept, and gives its index (the old number of items).
    // The selection and the text box stay as they were. Throws EOutOfResources with the message
    // "行を挿入できません" when the list cannot take another item (it holds `maxCount` items).
    int AppendItem(const QString& text);
    // Appends `texts` in order, as AppendItem would one by one; when the list runs full, the
    // texts that fit are appended and EOutOfResources is thrown.
    void AppendItems(const QStringList& texts);
    int ItemCount() const { return count(); }

    // Removes every item; no item is selected and the text box is emptied. Fires nothing.
    void ClearItems();

    // Setting selects item `index` and shows its text, firing nothing. -1, or any index that
    // names no item, selects nothing and empties the text box.
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);

    // The content of the text box. Setting it fires nothing, changes no selection and is not
    // bound by the typing limit.
    QString Text() const;
    void SetText(const QString& text);

    // The most Shift-JIS bytes the user may type (a full-width character counts two). 0 or
    // less, or above 255, means 255; `TypingLimit` gives the limit in force.
    int MaxLength() const { return mMaxLength; }
    void SetMaxLength(int length);
    int TypingLimit() const;

    // The most rows the dropped-down list shows at once; 8 by default.
    int DropDownCount() const { return mDropDownCount; }
    void SetDropDownCount(int rows);

    // The height of the control with its list dropped down: r rows of `RowHeight` plus the
    // control's own height plus 2, where r is the number of items but at most `DropDownCount`
    // and at least 1. The list below the control takes all of it but the control's height.
    int DropDownHeight() const;
    int RowHeight() const;

    // Switches the input method on or off for this list's text box alone.
    void SetInputMethodEnabled(bool enabled);

    void showPopup() override;
    // Both ways the input method asks whether this list takes its input.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    Q_INVOKABLE QVariant inputMethodQuery(Qt::InputMethodQuery query,
                                          const QVariant& argument) const;

signals:
    // The user changed the selected item, by a pick in the dropped-down list or an arrow key
    // (with the list closed or dropped down).
    // The text box already shows the item and `ItemIndex` already names it.
    void OnClick();
    // Fired after `OnClick`, and on every edit of the text box by the user.
    void OnChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // What the user sees: the selected item and the text in the box.
    struct Shown
    {
        int index = -1;
        QString text;
        friend bool operator==(const Shown&, const Shown&) = default;
    };

    Shown CurrentShown() const;
    void StepByUser(int step);
    void StepInDroppedList(int step);
    void FinishUserSelection(const Shown& before);
    void FireChange();
    void SizePopup(QWidget* popup) const;

    TComboEdit* mEdit;
    int mMaxLength = 0;
    int mDropDownCount = 8;
    Shown mShownAtDropDown;
};

} // namespace kt63
