#include "tabpageaccessible.h"

#include <QAccessibleWidget>
#include <QStackedWidget>
#include <QTabWidget>

namespace kt63 {

namespace {

// The tab widget whose page `page` is; null for any other widget.
const QTabWidget* TabWidgetOfPage(const QWidget* page)
{
    const auto* stack = qobject_cast<const QStackedWidget*>(page->parentWidget());
    return stack ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
}

class TabPageAccessible : public QAccessibleWidget
{
public:
    explicit TabPageAccessible(QWidget* page) : QAccessibleWidget(page, QAccessible::Pane) {}

    QString text(QAccessible::Text kind) const override
    {
        const QTabWidget* tabs = TabWidgetOfPage(widget());
        if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty() || !tabs)
            return QAccessibleWidget::text(kind);
        return QString(tabs->tabText(tabs->indexOf(widget()))).remove(u'&');
    }
};

QAccessibleInterface* TabPageAccessibleFactory(const QString& className, QObject* object)
{
    // Only plain widgets: a page of a class of its own keeps what its class says of it.
    if (className != QLatin1String("QWidget") || object->metaObject() != &QWidget::staticMetaObject)
        return nullptr;
    auto* page = static_cast<QWidget*>(object);
    return TabWidgetOfPage(page) ? new TabPageAccessible(page) : nullptr;
}

} // namespace

void InstallTabPageAccessible()
{
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(TabPageAccessibleFactory);
        return true;
    }();
}

} // namespace kt63
