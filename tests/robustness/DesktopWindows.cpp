#include "DesktopWindows.h"

namespace robustness {
namespace {

struct Search {
    const std::wstring* className;
    bool visibleOnly;
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK Inspect(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (e2e::ClassName(window) != *search.className) return TRUE;
    if (search.visibleOnly && !::IsWindowVisible(window)) return TRUE;
    if (search.processId) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process != search.processId) return TRUE;
    }
    search.found = window;
    return FALSE;
}

} // namespace

HWND FindTopLevelWindow(const std::wstring& className, bool visibleOnly, DWORD processId) {
    Search search{&className, visibleOnly, processId};
    ::EnumWindows(&Inspect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForAnyWindow(const std::wstring& className, milliseconds timeout, const std::function<bool()>& keepWaiting) {
    HWND window = nullptr;
    const bool found = e2e::WaitUntil(
        [&] {
            window = FindTopLevelWindow(className);
            return window != nullptr || !keepWaiting();
        },
        timeout);
    if (!found || !window || !e2e::Answers(window, timeout)) return nullptr;
    return window;
}

bool WaitForFocusInThread(HWND window, HWND focus, milliseconds timeout) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return e2e::WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return ::GetGUIThreadInfo(thread, &info) && info.hwndFocus == focus;
        },
        timeout);
}

void KillProcessOf(HWND window) {
    DWORD processId = 0;
    if (!window || !::GetWindowThreadProcessId(window, &processId) || !processId) return;
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return;
    if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process, 0xDEAD);
        ::WaitForSingleObject(process, static_cast<DWORD>(e2e::DefaultTimeout.count()));
    }
    ::CloseHandle(process);
}

Process::Process(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_)) {
        startError_ = ::GetLastError();
        info_ = PROCESS_INFORMATION{};
    }
}

Process::~Process() {
    if (!Started()) return;
    if (Running()) {
        ::TerminateProcess(info_.hProcess, 0xDEAD);
        ::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(e2e::DefaultTimeout.count()));
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

bool Process::Running() const {
    return Started() && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(milliseconds timeout) {
    if (!Started()) return std::nullopt;
    if (!e2e::WaitUntil([&] { return !Running(); }, timeout)) {
        ::TerminateProcess(info_.hProcess, 0xDEAD);
        ::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(e2e::DefaultTimeout.count()));
        return std::nullopt;
    }
    DWORD status = 0;
    if (!::GetExitCodeProcess(info_.hProcess, &status)) return std::nullopt;
    return status;
}

} // namespace robustness
