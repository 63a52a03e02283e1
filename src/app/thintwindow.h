#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace kt63 {

// The program's own tooltip: a borderless popup with a one-pixel border that stays on top,
// takes no focus and has no task-list entry, drawn in the desktop's tooltip colours and its
// status-bar font. The text is word-wrapped and shown as it stands ("&" included).
class THintWindow : public QWidget
{
    Q_OBJECT

public:
    THintWindow();

    const QString& Text() const { return mText; }

    // The size that `text` needs: wrapped to at most `maxWidth`, plus 6 pixels wide and 2 high
    // for the border and the margin.
    QSize SizeFor(const QString& text, int maxWidth) const;

    // Shows `text` at `bounds` (screen coordinates) without taking the focus.
    void ActivateHint(const QRect& bounds, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString mText;
};

// Where a tooltip of `size` for a control at `control` (both in screen coordinates) goes on
// `screen`: at the control's left, 6 pixels below its bottom, moved up and left so that it ends
// within the screen, but never starting left of or above the screen's top-left corner.
QRect PlaceTooltip(const QRect& control, const QSize& size, const QRect& screen);

} // namespace kt63
