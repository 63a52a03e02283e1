#include "controlhint.h"

#include <QVariant>
#include <QWidget>

namespace kt63 {

namespace {

const char kHint[] = "Hint";
const char kShowHint[] = "ShowHint";
const char kParentShowHint[] = "ParentShowHint";

// The text is Unicode, so a "|" found here is always a whole character: it cannot be the
// second byte of a double-byte character.
qsizetype BarIndex(const QString& hint)
{
    return hint.indexOf(QLatin1Char('|'));
}

} // namespace

void SetControlHint(QObject* object, const QString& hint)
{
    object->setProperty(kHint, hint);
}

QString ControlHint(const QObject* object)
{
    return object->property(kHint).toString();
}

QString FindHint(const QWidget* control)
{
    for (const QWidget* w = control; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        QString hint = ControlHint(w);
        if (!hint.isEmpty())
            return hint;
    }
    return QString();
}

QString ShortHint(const QString& hint)
{
    const qsizetype bar = BarIndex(hint);
    return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint)
{
    const qsizetype bar = BarIndex(hint);
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetShowHint(QWidget* control, bool show)
{
    control->setProperty(kShowHint, show);
    SetParentShowHint(control, false);
}

bool ParentShowHint(const QWidget* control)
{
    const QVariant follow = control->property(kParentShowHint);
    return !follow.isValid() || follow.toBool();
}

void SetParentShowHint(QWidget* control, bool follow)
{
    control->setProperty(kParentShowHint, follow);
}

bool ShowsHints(const QWidget* control)
{
    const QWidget* w = control;
    while (!w->isWindow() && w->parentWidget() && ParentShowHint(w))
        w = w->parentWidget();
    return w->property(kShowHint).toBool();
}

} // namespace kt63
