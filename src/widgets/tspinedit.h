#pragma once

#include <QLineEdit>

#include <cstdint>

class QMenu;

namespace kt63 {

class TSpinButton;

// A one-line text box that holds a whole number, with a pair of arrow buttons at its right
// edge. The text is the only store of the value: reading `Value` parses it, writing `Value`
// replaces it. Limits apply when a value is written and when the user leaves the field; a field
// whose two limits are equal has no limits.
class TSpinEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // Parses the text. A text that is no number is replaced by the decimal form of `MinValue`,
    // which is then the value. The limits are not applied: "300" reads as 300 in a field of
    // 0 to 255.
    int32_t Value();

    // Brings `value` within the limits (unless both are equal) and shows its decimal form,
    // however long it is: `MaxLength` binds only the user.
    void SetValue(int32_t value);

    // What leaving the field does: a text that is no number becomes `MinValue`, a number past a
    // limit becomes that limit, and a number within the limits is left exactly as typed ("007"
    // stays "007"). Callers use it too when they take the value of a field that the user may
    // still be typing in.
    void BringWithinLimits();

    // Setting a limit only stores it; the text is tested against it at the next write or when
    // the user leaves the field.
    int32_t MinValue() const { return mMinValue; }
    void SetMinValue(int32_t value) { mMinValue = value; }
    int32_t MaxValue() const { return mMaxValue; }
    void SetMaxValue(int32_t value) { mMaxValue = value; }

    // The step of the arrow keys and arrow buttons; 1 by default.
    int32_t Increment() const { return mIncrement; }
    void SetIncrement(int32_t step) { mIncrement = step; }

    // The most characters the user may type or paste; 0, the default, for no limit.
    int MaxLength() const { return mMaxLength; }
    void SetMaxLength(int length) { mMaxLength = length; }

    // Whether the user may type into the field; cutting is refused as well while not.
    bool EditorEnabled() const { return mEditorEnabled; }
    void SetEditorEnabled(bool enabled) { mEditorEnabled = enabled; }

    // A read-only field refuses typing, pasting and cutting, and beeps instead of stepping.
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly);

    // Whether the whole text is selected when the focus comes into the field from another
    // control, except by a left mouse press in the text itself.
    bool AutoSelect() const { return mAutoSelect; }
    void SetAutoSelect(bool autoSelect) { mAutoSelect = autoSelect; }

    // The arrow pair, owned by the field.
    TSpinButton* Button() const { return mButton; }

    // Read the value, add or subtract `Increment` and write the result, so that it stops at the
    // limits (or at the 32-bit range in a field without limits). A read-only field only beeps.
    void StepUp();
    void StepDown();

    // The area inside the field's two-pixel sunken edge, in the field's coordinates; the arrow
    // pair and the text area are laid out relative to it.
    QRect ClientRect() const;

    // The text box's standard context menu, with its paste bounded by `MaxLength` and its cut
    // refused while typing is disabled. The caller owns the menu.
    QMenu* CreateContextMenu();

    // Numbers are typed as they are, whatever state the input method is in: the field tells the
    // input method, asked either way, that it takes none of its text.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    Q_INVOKABLE QVariant inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const;

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Step(int64_t delta);
    void FollowFocusLentToMenuBar();
    void WriteBounded(int64_t value);
    bool HandleTypedText(QKeyEvent* event);
    void PasteBounded();
    void InsertBounded(const QString& text);
    void SelectAllAfterArrowPress();
    void UpdateMinimumHeight();
    void LayOut();

    TSpinButton* mButton;
    int32_t mMinValue = 0;
    int32_t mMaxValue = 0;
    int32_t mIncrement = 1;
    int mMaxLength = 0;
    bool mEditorEnabled = true;
    bool mAutoSelect = true;
    // Focus came by mouse; whether to select all depends on where the press lands.
    bool mMouseEntryPending = false;
    QMetaObject::Connection mFocusLentToMenuBar;
};

} // namespace kt63
