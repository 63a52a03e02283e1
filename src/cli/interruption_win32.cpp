#include "interruption.h"

#include "commands.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63 {

namespace {

// Windows runs the handler in a thread of its own.
std::atomic<bool> gRequested{false};
// Set once the guarded change has ended. Made once and kept, so that a handler still running
// after the guard never waits on a closed handle.
const HANDLE gSettled = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);

// Windows ends the program as soon as the handler returns from a closed console window, a
// logoff or a shutdown, and after five seconds anyway: the handler waits, a little less, for the
// change to put back what it wrote.
BOOL WINAPI NoteInterruption(DWORD event)
{
    gRequested.store(true);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::WaitForSingleObject(gSettled, 4500);
    return TRUE;
}

} // namespace

InterruptionGuard::InterruptionGuard()
{
    gRequested = false;
    ::ResetEvent(gSettled);
    ::SetConsoleCtrlHandler(NoteInterruption, TRUE);
}

InterruptionGuard::~InterruptionGuard()
{
    ::SetEvent(gSettled);
    ::SetConsoleCtrlHandler(NoteInterruption, FALSE);
}

const std::atomic<bool>& InterruptionGuard::Requested() const
{
    return gRequested;
}

int EndAsInterrupted()
{
    return ExitTrouble;
}

} // namespace kt63
