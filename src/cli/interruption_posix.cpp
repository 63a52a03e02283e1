#include "interruption.h"

#include "commands.h"

#include <csignal>
#include <iostream>

namespace kt63 {

namespace {

// A lock-free atomic may be stored to from a signal handler; the handler does nothing else.
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

std::atomic<bool> gRequested{false};
std::atomic<int> gSignal{0};

constexpr int Caught[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPrevious[std::size(Caught)];

extern "C" void NoteInterruption(int signal)
{
    gSignal.store(signal);
    gRequested.store(true);
}

} // namespace

// A signal that was ignored when the program started (SIGINT of a job started in the background
// by a script, SIGHUP under nohup) stays ignored. While the handler runs, the other two wait.
InterruptionGuard::InterruptionGuard()
{
    gRequested = false;
    gSignal = 0;
    struct sigaction action
    {
    };
    action.sa_handler = NoteInterruption;
    sigemptyset(&action.sa_mask);
    for (int signal : Caught)
        sigaddset(&action.sa_mask, signal);
    for (size_t i = 0; i < std::size(Caught); ++i) {
        ::sigaction(Caught[i], nullptr, &gPrevious[i]);
        if (gPrevious[i].sa_handler != SIG_IGN)
            ::sigaction(Caught[i], &action, nullptr);
    }
}

InterruptionGuard::~InterruptionGuard()
{
    for (size_t i = 0; i < std::size(Caught); ++i)
        ::sigaction(Caught[i], &gPrevious[i], nullptr);
}

const std::atomic<bool>& InterruptionGuard::Requested() const
{
    return gRequested;
}

int EndAsInterrupted()
{
    const int signal = gSignal.load();
    if (signal == 0)
        return ExitTrouble;
    std::cout.flush();
    std::cerr.flush();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return ExitTrouble;
}

} // namespace kt63
