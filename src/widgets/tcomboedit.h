#pragma once

#include <QLineEdit>

namespace kt63 {

// The text box of a TComboBox. Its typing limit counts Shift-JIS bytes and binds only the
// user: what is typed, pasted, dropped or put in by the input method while the box handles one
// of its own events. A character that would pass the limit is refused; of a longer insertion
// the characters that fit are kept. Text that the program puts in is never cut.
class TComboEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TComboEdit(QWidget* parent = nullptr);

    // The most Shift-JIS bytes the user may bring the text to, at least 1.
    int ByteLimit() const { return mByteLimit; }
    void SetByteLimit(int bytes) { mByteLimit = bytes; }

    // Marks a stretch of program code, such as an event handler run from inside one of the
    // box's events: changes of the text made in it are not the user's typing.
    class ProgramScope
    {
    public:
        explicit ProgramScope(TComboEdit& edit);
        ~ProgramScope();
        ProgramScope(const ProgramScope&) = delete;
        ProgramScope& operator=(const ProgramScope&) = delete;

    private:
        TComboEdit& mEdit;
        bool mWasUserInput;
    };

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class ByteLimitValidator;
    bool JudgeEdit(QString& text, int& cursor) const;

    int mByteLimit = 255;
    QString mPrevious; // the text before the edit being judged
    bool mUserInput = false;
};

} // namespace kt63
