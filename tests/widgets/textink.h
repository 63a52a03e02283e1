#pragma once

#include <QList>
#include <QRect>

class QFont;
class QImage;
class QString;
class QWidget;

namespace kt63::test {

// What a widget shows, as the user sees it: the widget and its children drawn on white.
QImage DrawnOnWhite(QWidget& widget);

// A run of adjacent columns that hold ink (a pixel darker than mid grey), left and right
// inclusive.
struct InkRun
{
    int left = 0;
    int right = 0;
    int width() const { return right - left + 1; }
};

// The runs of ink columns inside `area` of `image`, from left to right.
QList<InkRun> InkRuns(const QImage& image, const QRect& area);

// The runs merged into `count` groups at the widest gaps between them: the words of a line
// whose words stand further apart than the characters inside them.
QList<InkRun> InkGroups(QList<InkRun> runs, int count);

// How many columns `text` covers when drawn alone in `font`, from its first ink to its last.
int InkWidth(const QString& text, const QFont& font);

} // namespace kt63::test
