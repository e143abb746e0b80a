#include "TestSupport.h"

#include <gtest/gtest.h>

#include <winternl.h>

#include <algorithm>

namespace testing_support {
namespace {

const wchar_t* Wc(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "NoTest";
    for (char& c : name) {
        if (c == '/' || c == '\\') c = '_';
    }
    return std::u16string(name.begin(), name.end());
}

} // namespace

std::u16string U16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return U16(text);
}

void DeleteTree(HKEY root, const std::u16string& path, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, Wc(path), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        // A test may have left the key readable only; take it back before deleting.
        ::RegDeleteTreeW(key, nullptr);
        ::RegCloseKey(key);
    } else {
        SECURITY_DESCRIPTOR descriptor;
        ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
        if (::RegOpenKeyExW(root, Wc(path), 0, WRITE_DAC | view, &key) == ERROR_SUCCESS) {
            ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
            ::RegCloseKey(key);
            if (::RegOpenKeyExW(root, Wc(path), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
                ::RegDeleteTreeW(key, nullptr);
                ::RegCloseKey(key);
            }
        }
    }
    ::RegDeleteKeyExW(root, Wc(path), view, 0);
}

ScratchKey::ScratchKey(REGSAM view) : path_(u"Software\\QuorvelTests\\" + CurrentTestName()), view_(view) {
    DeleteTree(HKEY_CURRENT_USER, path_, view_);
    ::RegCreateKeyExW(HKEY_CURRENT_USER, Wc(path_), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view_,
                      nullptr, &key_, nullptr);
}

ScratchKey::~ScratchKey() {
    if (key_) ::RegCloseKey(key_);
    DeleteTree(HKEY_CURRENT_USER, path_, view_);
}

void ScratchKey::SetRaw(const std::u16string& name, DWORD type, const void* data, DWORD size) const {
    ASSERT_EQ(::RegSetValueExW(key_, Wc(name), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

ScratchDirectory::ScratchDirectory() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::u16string name = CurrentTestName();
    path_ = std::wstring(temp) + L"quorvel-" + std::wstring(name.begin(), name.end()) + L"-" +
            std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(path_.c_str(), nullptr);
    wchar_t current[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, current);
    previous_ = current;
    ::SetCurrentDirectoryW(path_.c_str());
}

ScratchDirectory::~ScratchDirectory() {
    ::SetCurrentDirectoryW(previous_.c_str());
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path_ + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryW(full.c_str());
            } else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path_.c_str());
}

void ScratchDirectory::WriteFile(const std::wstring& name, const std::string& bytes) const {
    const std::wstring full = path_ + L"\\" + name;
    HANDLE file = ::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        ASSERT_TRUE(::WriteFile(file, bytes.data() + done, chunk, &written, nullptr));
        done += written;
    }
    ::CloseHandle(file);
}

MessageBoxWatcher::MessageBoxWatcher() : processId_(::GetCurrentProcessId()) {
    thread_ = std::thread([this] { Watch(); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::Boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

void MessageBoxWatcher::Watch() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
        }
        ::EnumWindows(&MessageBoxWatcher::Inspect, reinterpret_cast<LPARAM>(this));
        ::Sleep(20);
    }
}

BOOL CALLBACK MessageBoxWatcher::Inspect(HWND window, LPARAM parameter) {
    auto* self = reinterpret_cast<MessageBoxWatcher*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (process != self->processId_ || std::wstring(className) != L"#32770" || !::IsWindowVisible(window)) {
        return TRUE;
    }
    {
        std::lock_guard lock(self->mutex_);
        if (std::find(self->seen_.begin(), self->seen_.end(), window) != self->seen_.end()) return TRUE;
        self->seen_.push_back(window);
    }
    SeenBox box;
    box.caption = WindowText(window);
    box.text = WindowText(::GetDlgItem(window, 0xFFFF));
    box.owner = ::GetWindow(window, GW_OWNER);
    // The message box's icon is an icon static holding the system icon; its id is 20 on Windows
    // and 1088 under Wine, so it is found by its style.
    const HICON errorIcon = ::LoadIconW(nullptr, IDI_HAND);
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t childClass[32] = {};
        ::GetClassNameW(child, childClass, 32);
        const std::wstring kind = childClass;
        if (kind == L"Button" && ::IsWindowVisible(child)) ++box.buttons;
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        if (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
            reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0)) == errorIcon) {
            box.hasErrorIcon = true;
        }
    }
    {
        std::lock_guard lock(self->mutex_);
        self->boxes_.push_back(box);
    }
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::size_t ProcessHandleCount() {
    // GetProcessHandleCount is a stub returning 0 under Wine; the system handle list is not.
    using QuerySystemInformation = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    constexpr int SystemHandleInformation = 16;
    constexpr LONG InfoLengthMismatch = static_cast<LONG>(0xC0000004);
    static const auto query = reinterpret_cast<QuerySystemInformation>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    std::vector<unsigned char> buffer(1 << 16);
    LONG status = InfoLengthMismatch;
    while (query && status == InfoLengthMismatch) {
        ULONG needed = 0;
        status = query(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == InfoLengthMismatch) buffer.resize(std::max<std::size_t>(needed + 4096, buffer.size() * 2));
    }
    if (!query || status != 0) {
        DWORD count = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &count);
        return count;
    }
    const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    const DWORD self = ::GetCurrentProcessId();
    std::size_t count = 0;
    for (ULONG i = 0; i < list->Count; ++i) {
        if (list->Handle[i].OwnerPid == self) ++count;
    }
    return count;
}

void PumpPending() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace testing_support
