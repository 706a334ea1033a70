// Gives the display its own mode back however the program ends while a full-screen window is up.
// X11 would otherwise leave the desktop at the demo's resolution.

#include "src/platform/sdl/sdl_internal.h"

#include <array>
#include <csignal>
#include <cstdlib>
#include <thread>

#include <pthread.h>
#include <unistd.h>

namespace VARKO::Platform {
namespace {

// Sent from outside (Ctrl+C, kill, a closed terminal); the program may be anywhere, Xlib included.
constexpr std::array kRequestedEnds{SIGINT, SIGTERM, SIGHUP, SIGQUIT};
// Raised by the program's own fault, in the faulting thread.
constexpr std::array kCrashes{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

constexpr unsigned kGiveUpSeconds = 2;

// Should the display hang while it changes back, the alarm ends the process anyway.
void ArmGiveUpAlarm() {
    std::signal(SIGALRM, SIG_DFL);
    alarm(kGiveUpSeconds);
}

// Puts the signal's usual course back and takes it: the process ends as if never caught.
[[noreturn]] void EndBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal);
}

// Installed for the crashes; the watching thread calls it for the requested ends.
[[noreturn]] void LeaveFullScreenThenEnd(int signal) {
    ArmGiveUpAlarm();
    LeaveFullScreen();
    EndBySignal(signal);
}

// A handler could interrupt the main thread while it holds the display's lock (a frame being put
// on the screen, say), and its own X calls would then wait for that lock for ever. These signals
// are therefore blocked in every thread and taken by one thread of their own, which may wait for
// the lock like any other thread (SDL makes Xlib thread-safe).
void WaitForRequestedEnd(sigset_t signals) {
    int signal = 0;
    if (sigwait(&signals, &signal) == 0) {
        LeaveFullScreenThenEnd(signal);
    }
}

sigset_t RequestedEnds() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : kRequestedEnds) {
        sigaddset(&signals, signal);
    }
    return signals;
}

// Programs started from here (a message box's helper, say) get the usual signals back.
void UnblockInChild() {
    sigset_t signals = RequestedEnds();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

void WatchRequestedEnds() {
    sigset_t signals = RequestedEnds();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    pthread_atfork(nullptr, nullptr, UnblockInChild);
    std::thread(WaitForRequestedEnd, signals).detach();
}

// Leaves a handler that someone else installed (a sanitizer's, say) in place.
void CatchCrashes() {
    for (int signal : kCrashes) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
            !(current.sa_flags & SA_SIGINFO)) {
            std::signal(signal, LeaveFullScreenThenEnd);
        }
    }
}

} // namespace

void GuardDisplayMode() {
    // A close request ends the process through exit() without tearing anything down.
    std::atexit(LeaveFullScreen);
    WatchRequestedEnds();
    CatchCrashes();
}

} // namespace VARKO::Platform
