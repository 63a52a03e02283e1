#pragma once

#include <QPointer>
#include <QWidget>

class QPixmap;

namespace kt63 {

class TTimerSpeedButton;

// A pair of auto-repeating arrow buttons stacked one above the other, up on top. Pressing
// either arrow with the left mouse button first moves the keyboard focus into `FocusControl`.
class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit TSpinButton(QWidget* parent = nullptr);

    // The control that takes the keyboard focus when an arrow is pressed; none by default.
    QWidget* FocusControl() const { return mFocusControl; }
    void SetFocusControl(QWidget* control);

    // The arrow pictures; by default the glyphs "SpinUp" and "SpinDown".
    const QPixmap& UpGlyph() const;
    void SetUpGlyph(const QPixmap& glyph);
    const QPixmap& DownGlyph() const;
    void SetDownGlyph(const QPixmap& glyph);

    TTimerSpeedButton* UpButton() const { return mUpButton; }
    TTimerSpeedButton* DownButton() const { return mDownButton; }

signals:
    // Once for every click and every repeated click of the up arrow.
    void OnUpClick();
    // The same for the down arrow.
    void OnDownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FocusOnArrowPress();

    QPointer<QWidget> mFocusControl;
    TTimerSpeedButton* mUpButton;
    TTimerSpeedButton* mDownButton;
};

} // namespace kt63
