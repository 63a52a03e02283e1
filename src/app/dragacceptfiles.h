#pragma once

#include <QStringList>

#include <functional>

class QUrl;
class QWidget;

namespace kt63 {

using DropFilesHandler = std::function<void(const QStringList& paths)>;

// Makes `window` a target for files dropped from the desktop, wherever on the window they land
// (over a text box too, which would otherwise take the path as text). A drag that carries local
// files is accepted; on the drop `handler` gets their paths, whole and in the order given, and
// runs under the error guard. Drags without local files pass on as before. The registration
// lives as long as the window.
void DragAcceptFiles(QWidget* window, DropFilesHandler handler);

// The local file paths that `urls` names, in their order; other addresses are left out.
QStringList LocalFilePaths(const QList<QUrl>& urls);

} // namespace kt63
