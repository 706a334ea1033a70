// Gives the desktop its own display mode back however the program ends while the demo's mode is
// set: through exit() (a close request ends the process there, tearing nothing down), Ctrl+C or a
// closed console, and a crash. Windows leaves a mode set with CDS_FULLSCREEN in place until the
// process is gone, and under Wine for good.

#include "src/platform/win32/win32_internal.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace VARKO::Platform {
namespace {

std::atomic<bool> modeChanged{false};
LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter = nullptr;

// Any thread may get here (the console's handler runs on one of its own); only the first restores.
void RestoreIfChanged() {
    if (modeChanged.exchange(false)) {
        ChangeDisplaySettingsA(nullptr, 0);
    }
}

// Returning FALSE leaves the event to the next handler, the system's, which ends the process.
BOOL WINAPI OnConsoleEnd(DWORD) {
    RestoreIfChanged();
    return FALSE;
}

// The filter that was there before (the C runtime's) still decides what the crash does.
LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
    RestoreIfChanged();
    return previousCrashFilter ? previousCrashFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// abort(), as after an uncaught exception, ends the process without running exit's handlers.
void OnAbort(int signal) {
    RestoreIfChanged();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallHandlers() {
    std::atexit(RestoreIfChanged);
    SetConsoleCtrlHandler(OnConsoleEnd, TRUE);
    previousCrashFilter = SetUnhandledExceptionFilter(OnCrash);
    std::signal(SIGABRT, OnAbort);
}

} // namespace

void GuardDisplayMode() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        InstallHandlers();
    }
    modeChanged = true;
}

void DisarmDisplayModeGuard() {
    modeChanged = false;
}

} // namespace VARKO::Platform
