#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <utility>
#include <vector>

struct _XDisplay;

namespace kt63::test {

// Works the windows of another program on the X display named by DISPLAY, from outside, the way
// a user would: finds them by title, presses Return in them, closes them with their close box.
// Needs no window manager.
class XWindowDriver
{
public:
    using WindowId = unsigned long;

    XWindowDriver();
    ~XWindowDriver();
    XWindowDriver(const XWindowDriver&) = delete;
    XWindowDriver& operator=(const XWindowDriver&) = delete;

    bool IsOpen() const { return mDisplay != nullptr; }

    // The titles of the top-level windows that are shown now.
    QStringList ShownTitles();

    // Waits until a top-level window whose title starts with `titleStart` is shown; returns it,
    // or 0 when none has come within `timeout`.
    WindowId WaitForWindow(const QString& titleStart, std::chrono::milliseconds timeout);

    // Presses and releases the Return key in `window`.
    void PressReturn(WindowId window);

    // Asks `window` to close, as its close box does.
    void Close(WindowId window);

private:
    WindowId FindShown(const QString& titleStart);
    std::vector<std::pair<WindowId, QString>> ShownWindows();
    QString Title(WindowId window);
    bool WaitForEvent(std::chrono::steady_clock::time_point deadline);

    _XDisplay* mDisplay = nullptr;
};

} // namespace kt63::test
