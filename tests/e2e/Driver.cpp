#include "Driver.h"

#include "ProgramWindows.h"

#include <algorithm>
#include <atomic>
#include <climits>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT AnswerTimeoutMs = 5000;

void HandlePendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

template <class Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name));
}

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT UnicodeInput(wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = static_cast<WORD>(unit);
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

bool Send(std::vector<INPUT>& inputs) {
    const UINT count = static_cast<UINT>(inputs.size());
    return ::SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

void AppendKey(std::vector<INPUT>& inputs, Key key) {
    if (key.alt) inputs.push_back(KeyInput(VK_MENU, false));
    if (key.shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    inputs.push_back(KeyInput(key.virtualKey, false));
    inputs.push_back(KeyInput(key.virtualKey, true));
    if (key.shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    if (key.alt) inputs.push_back(KeyInput(VK_MENU, true));
}

struct WindowSearch {
    DWORD processId;
    const std::wstring* className;
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK SearchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search.processId || ClassName(window) != *search.className) return TRUE;
    if (search.visibleOnly && !::IsWindowVisible(window)) return TRUE;
    search.found = window;
    return FALSE;
}

FocusRecorder* activeRecorder = nullptr;

} // namespace

bool WaitUntil(const std::function<bool()>& done, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        HandlePendingMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (const auto set = User32Function<SetContext>("SetProcessDpiAwarenessContext")) {
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
    }
    ::SetProcessDPIAware();
}

// ---- ScratchDirectory

ScratchDirectory::ScratchDirectory() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"quorvel-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path_ + L"\\" + name;
            ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(full.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path_.c_str());
}

bool ScratchDirectory::WriteFile(const std::wstring& name, std::string_view bytes) const {
    const std::wstring full = path_ + L"\\" + name;
    HANDLE file = ::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

// ---- Program

Program::Program(const std::wstring& exe, const std::wstring& workDir, std::optional<WORD> show) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (show) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *show;
    }
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(),
                          &startup, &info_)) {
        startError_ = ::GetLastError();
        info_ = PROCESS_INFORMATION{};
    }
}

Program::~Program() {
    if (!Started()) return;
    if (Running()) Kill();
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

bool Program::Running() const {
    return Started() && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
    killed_ = true;
    ::TerminateProcess(info_.hProcess, 0xDEAD);
    ::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(DefaultTimeout.count()));
}

HWND Program::TopLevelWindow(const std::wstring& className, bool visibleOnly) const {
    WindowSearch search{info_.dwProcessId, &className, visibleOnly};
    ::EnumWindows(&SearchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::WaitForWindow(const std::wstring& className, milliseconds timeout) const {
    HWND window = nullptr;
    const bool found = WaitUntil(
        [&] {
            window = TopLevelWindow(className);
            return window != nullptr || !Running();
        },
        timeout);
    if (!found || !window || !Answers(window, timeout)) return nullptr;
    return window;
}

bool Program::WaitForNoWindow(const std::wstring& className, milliseconds timeout) const {
    return WaitUntil([&] { return TopLevelWindow(className) == nullptr; }, timeout);
}

HWND Program::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(info_.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

bool Program::WaitForFocus(HWND window, milliseconds timeout) const {
    return WaitUntil([&] { return FocusedWindow() == window; }, timeout);
}

std::optional<DWORD> Program::WaitForExit(milliseconds timeout) {
    if (!Started()) return std::nullopt;
    if (!WaitUntil([&] { return !Running(); }, timeout)) {
        Kill();
        return std::nullopt;
    }
    DWORD status = 0;
    if (killed_ || !::GetExitCodeProcess(info_.hProcess, &status)) return std::nullopt;
    return status;
}

bool Answers(HWND window, milliseconds timeout) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()),
                                 &result) != 0;
}

// ---- Keyboard input

bool BringToForeground(HWND window, milliseconds timeout) {
    HWND root = ::GetAncestor(window, GA_ROOT);
    if (!root) return false;
    if (::GetForegroundWindow() == root) return true;
    return WaitUntil(
        [&] {
            if (::GetForegroundWindow() == root) return true;
            ::SetForegroundWindow(root);
            return ::GetForegroundWindow() == root;
        },
        timeout);
}

bool Press(HWND target, Key key) {
    return Press(target, {key});
}

bool Press(HWND target, std::initializer_list<Key> keys) {
    if (!BringToForeground(target)) return false;
    std::vector<INPUT> inputs;
    for (const Key& key : keys) AppendKey(inputs, key);
    return Send(inputs);
}

bool Type(HWND target, std::wstring_view text) {
    if (!BringToForeground(target)) return false;
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        inputs.push_back(UnicodeInput(unit, false));
        inputs.push_back(UnicodeInput(unit, true));
    }
    return Send(inputs);
}

// ---- Mouse input

bool ClickAt(HWND target, POINT screenPoint) {
    if (!BringToForeground(target)) return false;
    // Every event carries the position: SetCursorPos, or a move on its own, can be undone by
    // a late motion report from the display.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3);
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = ::MulDiv(screenPoint.x, 65535, width - 1);
        input.mi.dy = ::MulDiv(screenPoint.y, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    return Send(inputs);
}

bool Click(HWND window) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return false;
    return ClickAt(window, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

std::optional<POINT> CloseBoxPoint(HWND window) {
    RECT frame{}, client{};
    if (!::GetWindowRect(window, &frame) || !::GetClientRect(window, &client)) return std::nullopt;
    POINT clientTop{0, 0};
    ::ClientToScreen(window, &clientTop);
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = frame.top; y < clientTop.y; ++y) {
        for (LONG x = frame.right - 1; x >= frame.right - 100 && x >= frame.left; --x) {
            DWORD_PTR hit = HTNOWHERE;
            if (!::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, AnswerTimeoutMs,
                                       &hit)) {
                return std::nullopt;
            }
            if (hit != HTCLOSE) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    if (box.left > box.right) return std::nullopt;
    return POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

// ---- Reading windows

std::optional<std::wstring> Text(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, AnswerTimeoutMs, &length)) {
        return std::nullopt;
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                               AnswerTimeoutMs, &copied)) {
        return std::nullopt;
    }
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

SIZE OuterSize(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

RECT BoundsInParent(HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpi) {
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

int Scale(int designValue, int dpi) {
    return ::MulDiv(designValue, dpi, 96);
}

// ---- Message boxes

std::optional<MessageBoxInfo> WaitForMessageBox(const Program& program, milliseconds timeout) {
    HWND box = program.WaitForWindow(MessageBoxClass, timeout);
    if (!box) return std::nullopt;
    MessageBoxInfo info;
    info.window = box;
    info.caption = Text(box).value_or(L"");
    HWND label = ::GetDlgItem(box, 0xFFFF);
    info.text = label ? Text(label).value_or(L"") : L"";
    info.owner = ::GetWindow(box, GW_OWNER);
    return info;
}

bool DismissMessageBox(HWND box) {
    return ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != 0;
}

// ---- FocusRecorder

FocusRecorder::FocusRecorder() {
    activeRecorder = this;
    hook_ = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &FocusRecorder::OnEvent, 0, 0,
                              WINEVENT_OUTOFCONTEXT);
}

FocusRecorder::~FocusRecorder() {
    if (hook_) ::UnhookWinEvent(hook_);
    activeRecorder = nullptr;
}

bool FocusRecorder::WaitForFocusOn(HWND window, milliseconds timeout) const {
    return WaitUntil([&] { return std::find(focused_.begin(), focused_.end(), window) != focused_.end(); }, timeout);
}

void CALLBACK FocusRecorder::OnEvent(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    // Only the handle: the window may be gone with its process by now.
    if (activeRecorder && window) activeRecorder->focused_.push_back(window);
}

std::wstring WindowsPath(std::string_view path) {
    if (path.empty() || path.front() != '/') return Widen(path);
    using GetDosFileName = LPWSTR(CDECL*)(LPCSTR);
    const auto getDosFileName = reinterpret_cast<GetDosFileName>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name"));
    const std::string unixPath(path);
    if (getDosFileName) {
        if (LPWSTR dosPath = getDosFileName(unixPath.c_str())) {
            std::wstring result(dosPath);
            ::HeapFree(::GetProcessHeap(), 0, dosPath);
            return result;
        }
    }
    // Wine maps the host's root directory to Z:.
    std::wstring result = L"Z:" + Widen(path);
    std::replace(result.begin(), result.end(), L'/', L'\\');
    return result;
}

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                          nullptr);
    return bytes;
}

} // namespace e2e
