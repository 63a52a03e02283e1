#pragma once

#include <QString>
#include <QStringView>

namespace kt63 {

// The number of bytes `text` takes in Shift-JIS (code page 932): two for a full-width
// character, one for ASCII and half-width katakana. A character that code page 932 cannot hold
// counts as the one substitute byte it would be written as.
int ShiftJisLength(QStringView text);

// Applies a typing limit of `limit` Shift-JIS bytes to an edit of a text box that turned
// `previous` into `text`, with the cursor left at `cursor` right after what was typed or pasted.
// Keeps as many of the inserted characters as fit, from the first on, and moves the cursor
// behind them. Returns false when not one of them fits, or when the edit is no insertion
// before the cursor; the edit is then to be refused as a whole.
bool FitTypedText(const QString& previous, QString& text, int& cursor, int limit);

} // namespace kt63
