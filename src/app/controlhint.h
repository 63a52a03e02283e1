#pragma once

#include <QString>

class QObject;
class QWidget;

namespace kt63 {

// Hint texts and tooltip flags ride on the controls themselves as dynamic properties named
// "Hint", "ShowHint" and "ParentShowHint", so that any widget or menu action can carry them
// without a class of its own.

// Gives `object` (a widget or a menu action) its hint text: short hint, "|", long hint.
void SetControlHint(QObject* object, const QString& hint);

// The hint text `object` itself carries; empty when it has none.
QString ControlHint(const QObject* object);

// The hint that counts for `control`: its own if not empty, else that of its container, and so
// on up to its window; empty when none is found or `control` is null.
QString FindHint(const QWidget* control);

// The part of `hint` before the first "|", or the whole text when it has no "|".
QString ShortHint(const QString& hint);

// The part of `hint` after the first "|", or the whole text when it has no "|".
QString LongHint(const QString& hint);

// Sets whether `control` shows tooltips. An explicit value stops it following its container,
// so this also clears its ParentShowHint flag.
void SetShowHint(QWidget* control, bool show);

// Whether `control` follows its container's ShowHint; true unless set otherwise.
bool ParentShowHint(const QWidget* control);
void SetParentShowHint(QWidget* control, bool follow);

// Whether `control` shows tooltips: its container's answer while it follows the container
// (a window has no container and answers for itself), else its own flag, false by default.
bool ShowsHints(const QWidget* control);

} // namespace kt63
