#include "thintwindow.h"

#include <QApplication>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace kt63 {

namespace {

// Plain text: no mnemonic flag, so "&" stays as it is.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
constexpr int kGapBelowControl = 6;

} // namespace

THintWindow::THintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setPalette(QToolTip::palette());
    // The class font the platform gives to status bars; the application font where it has none.
    setFont(QApplication::font("QStatusBar"));
}

QSize THintWindow::SizeFor(const QString& text, int maxWidth) const
{
    const QRect measured = fontMetrics().boundingRect(QRect(0, 0, maxWidth, 0), kTextFlags, text);
    return QSize(measured.width() + 6, measured.height() + 2);
}

void THintWindow::ActivateHint(const QRect& bounds, const QString& text)
{
    mText = text;
    setGeometry(bounds);
    show();
    update();
}

void THintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect client = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(client, palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(client.adjusted(1, 0, 0, 0), kTextFlags, mText);
}

QRect PlaceTooltip(const QRect& control, const QSize& size, const QRect& screen)
{
    QRect placed(QPoint(control.left(), control.top() + control.height() + kGapBelowControl), size);
    if (placed.right() > screen.right())
        placed.moveRight(screen.right());
    if (placed.bottom() > screen.bottom())
        placed.moveBottom(screen.bottom());
    placed.moveTo(std::max(placed.left(), screen.left()), std::max(placed.top(), screen.top()));
    return placed;
}

} // namespace kt63
