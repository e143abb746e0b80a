// Driving a program that someone else started (the installer's child): its windows are found by
// class among all top-level windows of the desktop, and the installer is run with arguments.
#pragma once

#include "Driver.h"

#include <functional>
#include <optional>
#include <string>

namespace robustness {

using e2e::milliseconds;

// A top-level window of that class of any process; with `processId`, of that process only.
HWND FindTopLevelWindow(const std::wstring& className, bool visibleOnly = true, DWORD processId = 0);

// Waits for a visible window of that class that answers messages. Gives up early, with nullptr,
// once `keepWaiting` says there is no point (the process that would show it has ended).
HWND WaitForAnyWindow(const std::wstring& className, milliseconds timeout, const std::function<bool()>& keepWaiting);

// Waits until the keyboard focus of `window`'s GUI thread is on `focus`.
bool WaitForFocusInThread(HWND window, HWND focus, milliseconds timeout = e2e::DefaultTimeout);

// Kills the process that owns `window` if it still runs: a step left behind by a failed case.
void KillProcessOf(HWND window);

// A process started with a command line of its own; killed if still running when this goes.
class Process {
public:
    Process(const std::wstring& exe, const std::wstring& arguments);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const noexcept { return info_.hProcess != nullptr; }
    DWORD StartError() const noexcept { return startError_; }
    bool Running() const;
    // The exit status once it ends within `timeout`; otherwise it is killed and the result is empty.
    std::optional<DWORD> WaitForExit(milliseconds timeout);

private:
    PROCESS_INFORMATION info_{};
    DWORD startError_ = 0;
};

} // namespace robustness
