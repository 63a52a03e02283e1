#pragma once

#include <QList>
#include <QStringView>

namespace kt63 {

// The window's layout was measured in a font whose characters advance by their width in
// Shift-JIS (code page 932): 16 pixels for a double-byte character, 8 for a single-byte one,
// except the blank, which advances 6. Labels set their characters on these widths, so that a
// heading spread with blanks stands over the fields it names in whatever font shows it.
struct LayoutCell
{
    qsizetype from = 0;   // where the character starts in the text
    qsizetype length = 0; // its length in UTF-16 units (2 for a surrogate pair)
    int left = 0;         // the cell's left edge, counted from the start of the text
    int width = 0;
};

// One cell per character of `text`, side by side from 0.
QList<LayoutCell> LayoutCells(QStringView text);

// The width `text` takes on the layout's advance widths.
int LayoutTextWidth(QStringView text);

} // namespace kt63
