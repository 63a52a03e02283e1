#include "tcomboedit.h"

#include "shiftjislimit.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QValidator>

#include <memory>
#include <utility>

namespace kt63 {

// Lets the text box judge every change of its text before it is taken.
class ByteLimitValidator : public QValidator
{
public:
    explicit ByteLimitValidator(TComboEdit* edit) : QValidator(edit), mEdit(edit) {}

    State validate(QString& text, int& cursor) const override
    {
        return mEdit->JudgeEdit(text, cursor) ? Acceptable : Invalid;
    }

private:
    TComboEdit* mEdit;
};

TComboEdit::TComboEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new ByteLimitValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { mPrevious = text; });
}

TComboEdit::ProgramScope::ProgramScope(TComboEdit& edit)
    : mEdit(edit), mWasUserInput(std::exchange(edit.mUserInput, false))
{
}

TComboEdit::ProgramScope::~ProgramScope()
{
    mEdit.mUserInput = mWasUserInput;
}

bool TComboEdit::event(QEvent* event)
{
    const QScopedValueRollback<bool> userInput(mUserInput, true);
    return QLineEdit::event(event);
}

void TComboEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // Run the menu inside this event, so that its Paste is judged as the user's typing.
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->exec(event->globalPos());
}

// An edit that does not make the text longer in bytes is always taken, even when the program
// left a longer text in the box; so is every change the program makes.
bool TComboEdit::JudgeEdit(QString& text, int& cursor) const
{
    if (!mUserInput)
        return true;
    const int bytes = ShiftJisLength(text);
    if (bytes <= mByteLimit || bytes <= ShiftJisLength(mPrevious))
        return true;
    return FitTypedText(mPrevious, text, cursor, mByteLimit);
}

} // namespace kt63
