#pragma once

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace kt63 {

// A glyph button that never takes the keyboard focus and repeats its click while the left
// mouse button holds it down: first after 400 ms, then every 100 ms. A repeat only clicks while
// the button is shown pressed, that is while the pointer is over it; releasing over the button
// clicks once more.
class TTimerSpeedButton : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kFirstRepeatDelay = 400;
    static constexpr int kRepeatInterval = 100;

    explicit TTimerSpeedButton(QWidget* parent = nullptr);

    // The picture drawn in the middle of the button.
    const QPixmap& Glyph() const { return mGlyph; }
    void SetGlyph(const QPixmap& glyph);

    // Whether the button is drawn pressed: held with the left mouse button and under the pointer.
    bool IsShownPressed() const { return mShownPressed; }

    // The repeat timer, made at the first press and kept until the button goes; nullptr before.
    // Tests fire it by hand instead of waiting for it.
    QTimer* RepeatTimer() const { return mRepeatTimer; }

signals:
    // The left mouse button went down on the button, before the repeat timer starts.
    void OnMouseDown();
    // One click or repeated click. A handler may throw; the repeat timer is stopped first.
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RepeatTimerFired();
    void CancelPress();
    void SetShownPressed(bool pressed);

    QPixmap mGlyph;
    QTimer* mRepeatTimer = nullptr;
    bool mHeld = false;
    bool mShownPressed = false;
};

} // namespace kt63
