#include "tgroupbutton.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QKeyEvent>

namespace kt63 {

namespace {

// What a screen reader is told of a group's button. Qt would describe it as a check box, since
// the button does not keep the group's choice exclusive itself; and its toggle action would tick
// the button past the group. Here it is a radio button named by the group's caption and its
// item ("装備 1": the item alone may be a bare number, or the item of another group), and both
// of its actions choose it the way a click does, through the group.
class GroupButtonAccessible : public QAccessibleWidget
{
public:
    explicit GroupButtonAccessible(TGroupButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(kind);
        const auto* group = qobject_cast<const QGroupBox*>(widget()->parentWidget());
        const QString item = Button()->text();
        return group ? group->title() + u' ' + item : item;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names = QStringList{toggleAction(), pressAction()} + names;
        return names;
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == toggleAction() || actionName == pressAction()) {
            if (widget()->isEnabled())
                Button()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    TGroupButton* Button() const { return static_cast<TGroupButton*>(widget()); }
};

QAccessibleInterface* GroupButtonAccessibleFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String(TGroupButton::staticMetaObject.className()))
        return nullptr;
    return new GroupButtonAccessible(static_cast<TGroupButton*>(object));
}

void InstallAccessibleFactoryOnce()
{
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(GroupButtonAccessibleFactory);
        return true;
    }();
}

int ArrowDelta(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        return -1;
    case Qt::Key_Down:
    case Qt::Key_Right:
        return 1;
    default:
        return 0;
    }
}

} // namespace

TGroupButton::TGroupButton(QWidget* parent) : QRadioButton(parent)
{
    // The group keeps exactly one button checked; Qt's own exclusivity would decide for it.
    setAutoExclusive(false);
    InstallAccessibleFactoryOnce();
}

void TGroupButton::nextCheckState()
{
    // Deliberately empty: a click must not toggle the mark, the group sets it after the choice.
}

void TGroupButton::keyPressEvent(QKeyEvent* event)
{
    const int delta = ArrowDelta(*event);
    if (delta == 0 || (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    event->accept();
    emit ArrowPressed(delta);
}

} // namespace kt63
