// The user's side of TSpinEdit: arrow keys, the typed-character filter, input methods, cut and
// paste.
#include "tspinedit.h"

#include "spincharfilter.h"
#include "systembeep.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>

namespace kt63 {

namespace {

// With Ctrl alone a key is a command (copy, select all, ...), with Alt or Meta alone a menu
// accelerator; neither types a character. Ctrl and Alt together are AltGr, which does type.
bool IsCommandChord(Qt::KeyboardModifiers modifiers)
{
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    return control != alt || modifiers.testFlag(Qt::MetaModifier);
}

bool IsEditingKey(const QString& text)
{
    // Delete and the like arrive as non-printing characters at or above the blank; they are
    // keys, not typed characters.
    return text.size() == 1 && text.front().unicode() >= 32 && !text.front().isPrint();
}

} // namespace

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        if (event->key() == Qt::Key_Up) {
            StepUp();
        } else {
            StepDown();
        }
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteBounded();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut) && !mEditorEnabled) {
        event->accept();
        return;
    }
    if (!HandleTypedText(event)) {
        QLineEdit::keyPressEvent(event);
    }
}

// Gives true when the key was dealt with here: a typed character inserted (as far as `MaxLength`
// leaves room) or refused, or a menu accelerator passed on to the window. Control characters that
// pass the filter and Ctrl chords go on to the text box.
bool TSpinEdit::HandleTypedText(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || IsEditingKey(typed)) {
        return false;
    }
    if (IsCommandChord(event->modifiers())) {
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            return false;
        }
        event->ignore();
        return true;
    }
    const QString separator = QLocale().decimalPoint();
    bool printable = false;
    for (QChar c : typed) {
        if (!AcceptsSpinCharacter(c, mEditorEnabled, separator)) {
            SystemBeep();
            event->accept();
            return true;
        }
        printable = printable || c.unicode() >= 32;
    }
    if (!printable) {
        return false;
    }
    if (isReadOnly()) {
        SystemBeep();
    } else {
        InsertBounded(typed);
    }
    event->accept();
    return true;
}

QVariant TSpinEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return inputMethodQuery(query, QVariant());
}

// The text box would say yes whenever it is enabled and writable, and an input method that
// believes it would compose full-width digits that pass neither the filter nor the length limit.
QVariant TSpinEdit::inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const
{
    if (query == Qt::ImEnabled) {
        return false;
    }
    return QLineEdit::inputMethodQuery(query, argument);
}

// Should an input method send its text all the same, none of it reaches the field: committed
// text is refused like any character the filter refuses, and no composition is shown.
void TSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty()) {
        SystemBeep();
    }
    event->accept();
}

void TSpinEdit::PasteBounded()
{
    InsertBounded(QGuiApplication::clipboard()->text());
}

// Inserts in place of the selection as much of `text` as `MaxLength` leaves room for.
void TSpinEdit::InsertBounded(const QString& text)
{
    if (isReadOnly() || text.isEmpty()) {
        return;
    }
    qsizetype room = text.size();
    if (mMaxLength > 0) {
        room = mMaxLength - (this->text().size() - selectedText().size());
    }
    if (room > 0) {
        insert(text.left(room));
    }
}

// The middle button pastes the primary selection on desktops that have one.
void TSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        InsertBounded(clipboard->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// The standard menu's actions are told apart by their texts, which QLineEdit translates in its
// own context, so the comparison holds in every language.
QMenu* TSpinEdit::CreateContextMenu()
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, &TSpinEdit::PasteBounded);
        } else if (action->text().startsWith(QLineEdit::tr("Cu&t")) && !mEditorEnabled) {
            action->setEnabled(false);
        }
    }
    return menu;
}

} // namespace kt63
