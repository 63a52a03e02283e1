#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <utility>
#include <vector>

struct _XDisplay;

namespace kt63::test {

// Works the windows of another program on the X display named by DISPLAY, from outside, the way
// a user would: finds them by title, types into them, closes them with their close box. Needs no
// window manager: the driver gives a window the input focus itself before it types into it.
class XWindowDriver
{
public:
    using WindowId = unsigned long;

    XWindowDriver();
    ~XWindowDriver();
    XWindowDriver(const XWindowDriver&) = delete;
    XWindowDriver& operator=(const XWindowDriver&) = delete;

    bool IsOpen() const { return mDisplay != nullptr; }

    // Modifier keys held while a key is pressed.
    enum Modifier : unsigned { NoModifier = 0, Control = 1u << 2, Alt = 1u << 3 };

    // The titles of the top-level windows that are shown now; popups (menus, completion lists)
    // are no such windows.
    QStringList ShownTitles();

    // Waits until a top-level window whose title starts with `titleStart` is shown; returns it,
    // or 0 when none has come within `timeout`.
    WindowId WaitForWindow(const QString& titleStart, std::chrono::milliseconds timeout);

    // Presses and releases the key of the X key symbol named `key` ("Return", "f", ...) in
    // `window`, with `modifiers` held.
    void PressKey(WindowId window, const char* key, unsigned modifiers = NoModifier);
    void PressReturn(WindowId window) { PressKey(window, "Return"); }

    // Types `text` (lower-case letters, digits, "." and the like) into `window`, key by key.
    void Type(WindowId window, const QString& text);

    // Asks `window` to close, as its close box does.
    void Close(WindowId window);

private:
    WindowId FindShown(const QString& titleStart);
    std::vector<std::pair<WindowId, QString>> ShownWindows();
    QString Title(WindowId window);
    bool WaitForEvent(std::chrono::steady_clock::time_point deadline);
    void SendKey(WindowId window, unsigned long keySymbol, unsigned modifiers);

    _XDisplay* mDisplay = nullptr;
};

} // namespace kt63::test
