#include "dragacceptfiles.h"

#include "errorguard.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kt63 {

namespace {

QStringList DroppedPaths(const QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    return data && data->hasUrls() ? LocalFilePaths(data->urls()) : QStringList();
}

// Watches the whole application, because a drag goes to the widget under the pointer, which
// may be any child of the window; only drags over `window` are taken.
class DropTarget : public QObject
{
public:
    DropTarget(QWidget* window, DropFilesHandler handler)
        : QObject(window), mWindow(window), mHandler(std::move(handler))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != mWindow)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = DroppedPaths(drop);
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            RunGuarded([&] { mHandler(paths); });
        return true;
    }

private:
    QWidget* mWindow;
    DropFilesHandler mHandler;
};

} // namespace

void DragAcceptFiles(QWidget* window, DropFilesHandler handler)
{
    // Drops over children that take none (labels, frames) travel up to the window.
    window->setAcceptDrops(true);
    new DropTarget(window, std::move(handler));
}

QStringList LocalFilePaths(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace kt63
