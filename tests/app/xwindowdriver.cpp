#include "xwindowdriver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <poll.h>

namespace kt63::test {

static_assert(XWindowDriver::Control == ControlMask && XWindowDriver::Alt == Mod1Mask);

namespace {

// A window may go away between finding it and asking about it; that is no failure here.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

XWindowDriver::XWindowDriver() : mDisplay(XOpenDisplay(nullptr))
{
    if (!mDisplay)
        return;
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(mDisplay, DefaultRootWindow(mDisplay), SubstructureNotifyMask);
}

XWindowDriver::~XWindowDriver()
{
    if (mDisplay)
        XCloseDisplay(mDisplay);
}

QStringList XWindowDriver::ShownTitles()
{
    QStringList titles;
    for (const auto& [window, title] : ShownWindows())
        titles << title;
    return titles;
}

XWindowDriver::WindowId XWindowDriver::WaitForWindow(const QString& titleStart,
                                                     std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const WindowId window = FindShown(titleStart))
            return window;
        if (!WaitForEvent(deadline))
            return 0;
    }
}

void XWindowDriver::PressKey(WindowId window, const char* key, unsigned modifiers)
{
    SendKey(window, XStringToKeysym(key), modifiers);
}

void XWindowDriver::Type(WindowId window, const QString& text)
{
    // The key symbols of Latin-1 characters are their codes.
    for (const QChar character : text)
        SendKey(window, character.unicode(), NoModifier);
}

// Without a window manager nobody gives a window the input focus; the program reads its keys
// from the window that has it.
void XWindowDriver::SendKey(WindowId window, unsigned long keySymbol, unsigned modifiers)
{
    XSetInputFocus(mDisplay, window, RevertToParent, CurrentTime);
    XKeyEvent key{};
    key.display = mDisplay;
    key.window = window;
    key.root = DefaultRootWindow(mDisplay);
    key.time = CurrentTime;
    key.same_screen = True;
    key.state = modifiers;
    key.keycode = XKeysymToKeycode(mDisplay, keySymbol);
    key.type = KeyPress;
    XSendEvent(mDisplay, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    key.type = KeyRelease;
    XSendEvent(mDisplay, window, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&key));
    XFlush(mDisplay);
}

void XWindowDriver::Close(WindowId window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(mDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(mDisplay, window, False, NoEventMask, &event);
    XFlush(mDisplay);
}

XWindowDriver::WindowId XWindowDriver::FindShown(const QString& titleStart)
{
    for (const auto& [window, title] : ShownWindows()) {
        if (title.startsWith(titleStart))
            return window;
    }
    return 0;
}

std::vector<std::pair<XWindowDriver::WindowId, QString>> XWindowDriver::ShownWindows()
{
    std::vector<std::pair<WindowId, QString>> shown;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &parent, &children, &count))
        return shown;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(mDisplay, children[i], &attributes) ||
            attributes.map_state != IsViewable || attributes.override_redirect)
            continue;
        // A title set after the window came up wakes WaitForWindow as well.
        XSelectInput(mDisplay, children[i], PropertyChangeMask);
        shown.emplace_back(children[i], Title(children[i]));
    }
    if (children)
        XFree(children);
    return shown;
}

QString XWindowDriver::Title(WindowId window)
{
    const Atom name = XInternAtom(mDisplay, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(mDisplay, window, name, 0, 1024, False, utf8, &type, &format, &items,
                           &remaining, &data) == Success &&
        data) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(items));
    }
    if (data)
        XFree(data);
    return title;
}

bool XWindowDriver::WaitForEvent(std::chrono::steady_clock::time_point deadline)
{
    while (!XPending(mDisplay)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(mDisplay), POLLIN, 0};
        poll(&connection, 1, int(left.count()));
    }
    XEvent event;
    XNextEvent(mDisplay, &event);
    return true;
}

} // namespace kt63::test
