#pragma once

#include <atomic>

namespace kt63 {

// While it lives, what would end the program at once (Ctrl+C, Ctrl+Break, a closed terminal or
// console window, SIGTERM from a session that ends) only sets Requested(). A change looks at it
// between its writes, puts back what it wrote and reports the interruption, so that the program
// ends with the file as it was. One guard at a time.
class InterruptionGuard
{
public:
    InterruptionGuard();
    ~InterruptionGuard();
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;

    const std::atomic<bool>& Requested() const;
};

// Ends the program as the interruption that a guard caught would have ended it, once the
// interrupted change has been reported: on POSIX by the same signal, so that a shell or a script
// sees the program stopped by it; on Windows, where the system ends the program itself after a
// closed console window, with the exit status of trouble, which it gives back.
int EndAsInterrupted();

} // namespace kt63
