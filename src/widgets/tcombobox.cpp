#include "tcombobox.h"

#include "eoutofresources.h"
#include "tcomboedit.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>

namespace kt63 {

namespace {

// Up and Page Up step to the previous item, Down and Page Down to the next; with Alt or Ctrl
// the keys keep Qt's meaning (Alt+Down drops the list down).
int StepOfKey(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier))
        return 0;
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return -1;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return 1;
    default:
        return 0;
    }
}

int ArrowStepOfKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Up || event.key() == Qt::Key_Down ? StepOfKey(event) : 0;
}

} // namespace

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent), mEdit(new TComboEdit(this))
{
    setLineEdit(mEdit);
    setInsertPolicy(QComboBox::NoInsert);
    // Typing must never select an item: no completion, and no selection of a matching item
    // when the editing ends.
    setCompleter(nullptr);
    disconnect(mEdit, &QLineEdit::editingFinished, this, nullptr);
    SetMaxLength(mMaxLength);
    setMaxVisibleItems(mDropDownCount);
    connect(mEdit, &QLineEdit::textEdited, this, &TComboBox::FireChange);
    // After the key and wheel handling below, only a pick in the list is left to activate.
    connect(this, &QComboBox::activated, this, [this] { FinishUserSelection(mShownAtDropDown); });
}

int TComboBox::AppendItem(const QString& text)
{
    const int index = count();
    AppendItems({text});
    return index;
}

// One insertion for all of them: the list takes a whole name list in about the time that a
// few dozen single insertions take.
void TComboBox::AppendItems(const QStringList& texts)
{
    const qsizetype room = std::max(0, maxCount() - count());
    const Shown before = CurrentShown();
    {
        const TComboEdit::ProgramScope program(*mEdit);
        addItems(texts.mid(0, room));
        // Qt selects the first item put into an empty list; this list does not.
        if (CurrentShown() != before) {
            setCurrentIndex(before.index);
            mEdit->setText(before.text);
        }
    }
    if (texts.size() > room)
        throw EOutOfResources("行を挿入できません");
}

void TComboBox::ClearItems()
{
    const TComboEdit::ProgramScope program(*mEdit);
    clear();
}

void TComboBox::SetItemIndex(int index)
{
    const TComboEdit::ProgramScope program(*mEdit);
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

QString TComboBox::Text() const
{
    return mEdit->text();
}

void TComboBox::SetText(const QString& text)
{
    const TComboEdit::ProgramScope program(*mEdit);
    mEdit->setText(text);
}

void TComboBox::SetMaxLength(int length)
{
    mMaxLength = length;
    mEdit->SetByteLimit(TypingLimit());
}

int TComboBox::TypingLimit() const
{
    return mMaxLength >= 1 && mMaxLength <= 255 ? mMaxLength : 255;
}

void TComboBox::SetDropDownCount(int rows)
{
    mDropDownCount = rows;
    setMaxVisibleItems(std::max(rows, 1));
}

int TComboBox::DropDownHeight() const
{
    const int rows = std::max(1, std::min(count(), mDropDownCount));
    return rows * RowHeight() + height() + 2;
}

int TComboBox::RowHeight() const
{
    if (count() > 0)
        return view()->sizeHintForRow(0);
    // An empty list still measures one row: what the delegate gives an item without text.
    QStyleOptionViewItem option;
    option.initFrom(view());
    option.font = view()->font();
    return view()->itemDelegate()->sizeHint(option, QModelIndex()).height();
}

// The focus stays on the combo box itself, which answers the input method for its text box.
void TComboBox::SetInputMethodEnabled(bool enabled)
{
    setAttribute(Qt::WA_InputMethodEnabled, enabled);
}

void TComboBox::showPopup()
{
    mShownAtDropDown = CurrentShown();
    // The list is made on the first drop-down; its arrow keys are to step the selection.
    view()->installEventFilter(this);
    QWidget* popup = view()->window();
    if (count() > 0) {
        QComboBox::showPopup();
    } else {
        // Qt will not drop an empty list down; this one drops down room for one row.
        popup->setGeometry(QRect(mapToGlobal(QPoint(0, height())), size()));
        popup->show();
    }
    SizePopup(popup);
}

QVariant TComboBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return inputMethodQuery(query, QVariant());
}

// The text box would say yes whenever it is enabled and writable.
QVariant TComboBox::inputMethodQuery(Qt::InputMethodQuery query, const QVariant& argument) const
{
    if (query == Qt::ImEnabled && !testAttribute(Qt::WA_InputMethodEnabled))
        return false;
    return QComboBox::inputMethodQuery(query, argument);
}

// In the dropped-down list the arrow keys select the next or the previous item, one step at a
// time, as they do in the closed list, instead of only moving the highlight.
bool TComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const int step = ArrowStepOfKey(*static_cast<QKeyEvent*>(event));
        if (step != 0) {
            StepInDroppedList(step);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TComboBox::keyPressEvent(QKeyEvent* event)
{
    const int step = StepOfKey(*event);
    if (step == 0) {
        QComboBox::keyPressEvent(event);
        return;
    }
    event->accept();
    StepByUser(step);
}

void TComboBox::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls what lies under the list instead of changing the selection unasked.
    event->ignore();
}

TComboBox::Shown TComboBox::CurrentShown() const
{
    return {currentIndex(), mEdit->text()};
}

// There is no wrapping: Up on the first item, or with none selected, and Down on the last,
// change nothing.
void TComboBox::StepByUser(int step)
{
    const int index = currentIndex() + step;
    if (index < 0 || index >= count())
        return;
    const Shown before = CurrentShown();
    {
        const TComboEdit::ProgramScope program(*mEdit);
        setCurrentIndex(index);
    }
    FinishUserSelection(before);
}

// The one place `OnClick` leaves. The selection and the text are in place before the
// handlers run, so a handler that throws leaves the user's choice standing.
void TComboBox::FinishUserSelection(const Shown& before)
{
    if (CurrentShown() == before)
        return;
    const TComboEdit::ProgramScope program(*mEdit);
    emit OnClick();
    emit OnChange();
}

// From the highlighted item, which the mouse may have moved away from the selected one. The
// stepped-to item is the one the list dropped down on from now, so that Return on it picks
// nothing new.
void TComboBox::StepInDroppedList(int step)
{
    const QModelIndex highlighted = view()->currentIndex();
    const int index = (highlighted.isValid() ? highlighted.row() : currentIndex()) + step;
    if (index < 0 || index >= count())
        return;
    const Shown before = CurrentShown();
    {
        const TComboEdit::ProgramScope program(*mEdit);
        setCurrentIndex(index);
    }
    view()->setCurrentIndex(model()->index(index, modelColumn()));
    mShownAtDropDown = CurrentShown();
    FinishUserSelection(before);
}

void TComboBox::FireChange()
{
    const TComboEdit::ProgramScope program(*mEdit);
    emit OnChange();
}

void TComboBox::SizePopup(QWidget* popup) const
{
    QRect frame = popup->geometry();
    const int listHeight = DropDownHeight() - height();
    const bool above = frame.bottom() < mapToGlobal(QPoint(0, 0)).y();
    if (above)
        frame.setTop(frame.bottom() - listHeight + 1);
    else
        frame.setHeight(listHeight);
    popup->setGeometry(frame);
}

} // namespace kt63
