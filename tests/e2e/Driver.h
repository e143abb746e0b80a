// Drives the register program from outside: starts it in a scratch directory, finds and reads its
// windows, types into them, and waits, always for a bounded time, for what it should do.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using std::chrono::milliseconds;

// Long enough for a slow machine; a program that takes longer counts as hung.
inline constexpr milliseconds DefaultTimeout{10000};

// Polls `done`, handling this thread's messages in between, until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& done, milliseconds timeout = DefaultTimeout);

// Lets this process see the real coordinates of windows drawn at any DPI.
void BecomeDpiAware();

// A fresh directory under %TEMP%, removed with its files when it goes.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    bool WriteFile(const std::wstring& name, std::string_view bytes) const;

private:
    std::wstring path_;
};

// One run of the program; a run still going when this goes is killed.
class Program {
public:
    // `show`: the show state passed in STARTUPINFO, if any.
    Program(const std::wstring& exe, const std::wstring& workDir, std::optional<WORD> show = std::nullopt);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const noexcept { return info_.hProcess != nullptr; }
    DWORD StartError() const noexcept { return startError_; }
    DWORD ProcessId() const noexcept { return info_.dwProcessId; }
    bool Running() const;

    // The process's top-level window of that class; with `visibleOnly`, only a visible one.
    HWND TopLevelWindow(const std::wstring& className, bool visibleOnly = true) const;
    // Waits for a visible window of that class that answers messages; nullptr on time-out.
    HWND WaitForWindow(const std::wstring& className, milliseconds timeout = DefaultTimeout) const;
    // Waits until no window of that class is visible.
    bool WaitForNoWindow(const std::wstring& className, milliseconds timeout = DefaultTimeout) const;

    // The window that has the keyboard focus in the program's GUI thread.
    HWND FocusedWindow() const;
    bool WaitForFocus(HWND window, milliseconds timeout = DefaultTimeout) const;

    // The exit status once the process ends within `timeout`; otherwise it is killed and the
    // result is empty.
    std::optional<DWORD> WaitForExit(milliseconds timeout = DefaultTimeout);
    bool Killed() const noexcept { return killed_; }

private:
    void Kill();

    PROCESS_INFORMATION info_{};
    DWORD startError_ = 0;
    bool killed_ = false;
};

// Whether the window's thread handles a message within `timeout`.
bool Answers(HWND window, milliseconds timeout = DefaultTimeout);

// ---- Keyboard input, sent after bringing the target's top-level window to the foreground.

struct Key {
    WORD virtualKey;
    bool alt = false;
    bool shift = false;
};

inline constexpr Key Tab{VK_TAB};
inline constexpr Key ShiftTab{VK_TAB, false, true};
inline constexpr Key Enter{VK_RETURN};
inline constexpr Key Esc{VK_ESCAPE};
inline constexpr Key Backspace{VK_BACK};
inline constexpr Key End{VK_END};
inline constexpr Key AltF4{VK_F4, true};
// A letter key as pressed on the keyboard, optionally with Alt; `letter` in upper case.
constexpr Key Letter(char letter, bool alt = false) {
    return Key{static_cast<WORD>(letter), alt};
}

bool BringToForeground(HWND window, milliseconds timeout = DefaultTimeout);
bool Press(HWND target, Key key);
bool Press(HWND target, std::initializer_list<Key> keys);
// Types text as Unicode key events: what the user would type, whatever the keyboard layout.
bool Type(HWND target, std::wstring_view text);

// ---- Mouse input.

// Clicks the left button at a point of the screen, after bringing `target` to the foreground.
bool ClickAt(HWND target, POINT screenPoint);
// Clicks the middle of a window.
bool Click(HWND window);
// The middle of the window's close box, found by asking the window what its frame holds where.
std::optional<POINT> CloseBoxPoint(HWND window);

// ---- Reading windows.

// The text by WM_GETTEXT; empty result when the window does not answer.
std::optional<std::wstring> Text(HWND window);
std::wstring ClassName(HWND window);
// Child windows in z order, which is the order the program created them in.
std::vector<HWND> Children(HWND parent);
SIZE OuterSize(HWND window);
SIZE ClientSize(HWND window);
// left, top, width, height in the parent's client coordinates.
RECT BoundsInParent(HWND child);
int WindowDpi(HWND window);
// A design-time length at 96 DPI, as the program scales it.
int Scale(int designValue, int dpi);

// ---- Message boxes.

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

// A visible message box of the program's, once one is up.
std::optional<MessageBoxInfo> WaitForMessageBox(const Program& program, milliseconds timeout = DefaultTimeout);
// Presses the box's OK.
bool DismissMessageBox(HWND box);

// ---- Focus changes.

// Records every window that takes the keyboard focus, from accessibility events: it tells that a
// window was activated even when it was gone again before it could be polled. The events are
// queued to this thread and arrive while it handles messages, which WaitUntil and the waits
// above do.
class FocusRecorder {
public:
    FocusRecorder();
    ~FocusRecorder();
    FocusRecorder(const FocusRecorder&) = delete;
    FocusRecorder& operator=(const FocusRecorder&) = delete;

    bool Active() const noexcept { return hook_ != nullptr; }
    // Waits until `window` is seen to have taken the focus.
    bool WaitForFocusOn(HWND window, milliseconds timeout = DefaultTimeout) const;

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<HWND> focused_;
};

// A path as this process can open it: a host path (/tmp/...) becomes its Wine drive path.
std::wstring WindowsPath(std::string_view path);

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);

} // namespace e2e
