// Fixtures shared by the Windows tests: a scratch registry key, a scratch directory, a watcher
// that reads and dismisses message boxes, and a bounded message pump.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// HKCU\Software\QuorvelTests\<test name>, deleted before and after the test.
class ScratchKey {
public:
    explicit ScratchKey(REGSAM view = 0);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const noexcept { return HKEY_CURRENT_USER; }
    const std::u16string& Path() const noexcept { return path_; }
    // The key itself, opened (created) with full access, for preparing values.
    HKEY Key() const noexcept { return key_; }
    void SetRaw(const std::u16string& name, DWORD type, const void* data, DWORD size) const;

private:
    std::u16string path_;
    REGSAM view_;
    HKEY key_ = nullptr;
};

// Deletes a key and everything below it, in the given view; missing is fine.
void DeleteTree(HKEY root, const std::u16string& path, REGSAM view = 0);

// A fresh directory under %TEMP%, removed afterwards; the current directory while it lives.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::wstring& Path() const noexcept { return path_; }
    void WriteFile(const std::wstring& name, const std::string& bytes) const;

private:
    std::wstring path_;
    std::wstring previous_;
};

struct SeenBox {
    std::u16string caption;
    std::u16string text;
    HWND owner = nullptr;
    bool hasErrorIcon = false;
    int buttons = 0;
};

// Watches this process's threads for message boxes, records each and presses its OK.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    std::vector<SeenBox> Boxes() const;

private:
    void Watch();
    static BOOL CALLBACK Inspect(HWND window, LPARAM self);
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> seen_;
    bool stop_ = false;
    DWORD processId_;
};

// Handles this thread's messages until `done` holds or `timeout` passes; false on time-out.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));
// Handles what is queued now, without waiting.
void PumpPending();

// The handles this process holds, of every kind; for catching leaks.
std::size_t ProcessHandleCount();

std::u16string WindowText(HWND window);
std::u16string U16(const std::wstring& text);

} // namespace testing_support
