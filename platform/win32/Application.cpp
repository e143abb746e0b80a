#include "Application.h"

#include "ErrorBox.h"
#include "Wide.h"

#include <algorithm>

namespace platform {

TApplication Application;

namespace {

constexpr wchar_t ApplicationWindowClass[] = L"TApplication";
constexpr UINT ActivateFormMessage = WM_APP + 1;

} // namespace

HICON LoadMainIcon(int size) {
    // Shared: the window classes keep the icon for the life of the process.
    auto icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
    return icon ? icon
                : static_cast<HICON>(::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, size, size, LR_SHARED));
}

void TApplication::Initialize() {
    if (window_) return;
    terminated_ = false;
    WNDCLASSEXW windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = &TApplication::WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadMainIcon(::GetSystemMetrics(SM_CXICON));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ApplicationWindowClass;
    ::RegisterClassExW(&windowClass);
    // Visible but of no size: it carries the taskbar entry while the forms it owns come and go.
    // WS_VISIBLE at creation, so that no ShowWindow call of ours is taken over by the launcher's
    // start-up show state.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    window_.reset(::CreateWindowExW(0, ApplicationWindowClass, W(title_),
                                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                                    x, y, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr));
}

void TApplication::SetTitle(std::u16string_view title) {
    title_ = std::u16string(title);
    if (window_) ::SetWindowTextW(window_.get(), W(title_));
}

TForm* TApplication::FindForm(HWND window) const noexcept {
    for (const auto& form : forms_) {
        if (form->Handle() == window) return form.get();
    }
    return nullptr;
}

void TApplication::HandleMessage() {
    MSG message;
    const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
    if (result == 0 || result == -1) {
        terminated_ = true;
        return;
    }
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        if (TForm* form = FindForm(::GetAncestor(message.hwnd, GA_ROOT))) {
            bool used = false;
            Guarded([&] { used = form->PreTranslateKey(message); });
            if (used) return;
        }
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void TApplication::Run() {
    if (mainForm_) {
        STARTUPINFOW startup{sizeof startup};
        ::GetStartupInfoW(&startup);
        const WORD show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
        if (show == SW_SHOWMINNOACTIVE) {
            hiddenByMinimize_.push_back(mainForm_);
            Minimize();
        } else {
            mainForm_->Show(show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        }
    }
    // At least one event is taken before the request is looked at.
    do {
        HandleMessage();
    } while (!terminated_);
}

void TApplication::Terminate() noexcept {
    ::PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (!window_ || ::IsIconic(window_.get())) return;
    for (const auto& form : forms_) {
        if (form->Visible()) {
            hiddenByMinimize_.push_back(form.get());
            ::ShowWindow(form->Handle(), SW_HIDE);
        }
    }
    ::ShowWindow(window_.get(), SW_MINIMIZE);
}

void TApplication::Restore() {
    if (!window_) return;
    if (::IsIconic(window_.get())) ::ShowWindow(window_.get(), SW_RESTORE);
    auto forms = std::move(hiddenByMinimize_);
    hiddenByMinimize_.clear();
    for (TForm* form : forms) form->Show();
    ActivateCurrentForm();
}

void TApplication::ActivateCurrentForm() {
    // The modal form if there is one, else the main form: where the user's keys should go.
    TForm* target = nullptr;
    for (const auto& form : forms_) {
        if (form->IsModal() && form->Visible()) target = form.get();
    }
    if (!target && mainForm_ && mainForm_->Visible()) target = mainForm_;
    if (target) ::SetForegroundWindow(target->Handle());
}

void TApplication::Reset() {
    hiddenByMinimize_.clear();
    mainForm_ = nullptr;
    forms_.clear();
    window_.reset();
    title_.clear();
    terminated_ = false;
    // A request left over from the last run must not end the next one.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !::IsIconic(window)) ::PostMessageW(window, ActivateFormMessage, 0, 0);
        return 0;
    case ActivateFormMessage:
        Application.ActivateCurrentForm();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Guarded([] { Application.Minimize(); });
            return 0;
        case SC_RESTORE:
            Guarded([] { Application.Restore(); });
            return 0;
        case SC_CLOSE:
            // "Close window" on the taskbar entry closes the form the user is working in.
            for (const auto& form : Application.forms_) {
                if (form->IsModal()) {
                    ::PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
                    return 0;
                }
            }
            if (Application.mainForm_) ::PostMessageW(Application.mainForm_->Handle(), WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE:
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace platform
