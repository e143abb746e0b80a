#include "Form.h"

#include "Accelerator.h"
#include "Application.h"
#include "Dpi.h"
#include "ErrorBox.h"
#include "StringFormat.h"
#include "Wide.h"

#include <algorithm>
#include <set>

namespace platform {
namespace {

std::u16string Quoted(std::u16string_view name) {
    return u"'" + std::u16string(name) + u"'";
}

EDescriptionError BindingError(const FormClass& formClass, std::u16string_view what, std::u16string_view name,
                               int line) {
    std::u16string message(formClass.resourceName);
    if (line > 0) {
        const std::string number = std::to_string(line);
        message += u", line " + std::u16string(number.begin(), number.end());
    }
    message += u": " + std::u16string(what) + u" " + Quoted(name);
    return EDescriptionError(message);
}

FormDescription LoadDescription(const FormClass& formClass) {
    const std::u16string name(formClass.resourceName);
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, W(name), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) throw EDescriptionError(u"missing window description " + Quoted(name));
    const std::string_view text(static_cast<const char*>(data), ::SizeofResource(module, resource));
    return ParseFormDescription(text, name);
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

template <class Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name));
}

int SystemDpi() {
    WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

RECT OuterRect(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    RECT rect{0, 0, client.cx, client.cy};
    static const auto adjust = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return rect;
}

enum class FontKind { Missing, Raster, Scalable };

int CALLBACK RecordFontKind(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM context) {
    *reinterpret_cast<FontKind*>(context) =
        (type & (TRUETYPE_FONTTYPE | DEVICE_FONTTYPE)) ? FontKind::Scalable : FontKind::Raster;
    return 0;
}

FontKind KindOfFont(const std::u16string& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(reinterpret_cast<char16_t*>(wanted.lfFaceName), LF_FACESIZE - 1);
    FontKind kind = FontKind::Missing;
    WindowDc screen(nullptr);
    ::EnumFontFamiliesExW(screen.get(), &wanted, &RecordFontKind, reinterpret_cast<LPARAM>(&kind), 0);
    return kind;
}

HFONT CreateFormFont(const FontDescription& font, int dpi) {
    std::u16string face = font.name;
    // A bitmap font blurs or jumps in size away from 96 DPI; its scalable twin keeps the metrics.
    if (face == u"MS Sans Serif" && KindOfFont(face) == FontKind::Raster &&
        KindOfFont(u"Microsoft Sans Serif") != FontKind::Missing) {
        face = u"Microsoft Sans Serif";
    }
    const int height = font.size > 0 ? FontHeightForDpi(font.size, dpi) : ScaleToDpi(font.height, dpi);
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, W(face));
}

std::unique_ptr<TControl> MakeControl(TForm& form, const ControlDescription& description) {
    switch (description.kind) {
    case ControlKind::Label:
        return std::make_unique<TLabel>(form, description);
    case ControlKind::Edit:
        return std::make_unique<TEdit>(form, description);
    case ControlKind::Memo:
        return std::make_unique<TMemo>(form, description);
    case ControlKind::Button:
        return std::make_unique<TButton>(form, description);
    case ControlKind::BitBtn:
        return std::make_unique<TBitBtn>(form, description);
    }
    return nullptr;
}

bool SameLetter(char16_t a, char16_t b) {
    wchar_t pair[2] = {static_cast<wchar_t>(a), static_cast<wchar_t>(b)};
    ::CharUpperBuffW(pair, 2);
    return pair[0] == pair[1];
}

} // namespace

TForm::TForm() = default;

TForm::~TForm() {
    // The window goes first: it destroys the child windows the controls only borrow. The
    // derived form is already gone, so the messages of its destruction are not ours to handle.
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
}

void TForm::Create(const FormClass& formClass) {
    Create(formClass, LoadDescription(formClass));
}

DWORD TForm::Style() const noexcept {
    if (description_.border == BorderStyle::Dialog) return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

DWORD TForm::ExStyle() const noexcept {
    return description_.border == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE : WS_EX_WINDOWEDGE;
}

void TForm::Create(const FormClass& formClass, const FormDescription& description) {
    description_ = description;
    const std::u16string className = description_.className;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{sizeof windowClass};
    if (!::GetClassInfoExW(instance, W(className), &windowClass)) {
        windowClass = WNDCLASSEXW{sizeof windowClass};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &TForm::StaticWindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = ::GetSysColorBrush(description_.color == ColorName::Window ? COLOR_WINDOW : COLOR_BTNFACE);
        windowClass.lpszClassName = W(className);
        // A dialog frame shows no icon; the sizeable frame shows the program's.
        if (description_.border == BorderStyle::Sizeable) {
            windowClass.hIcon = LoadMainIcon(::GetSystemMetrics(SM_CXICON));
            windowClass.hIconSm = LoadMainIcon(::GetSystemMetrics(SM_CXSMICON));
        }
        ::RegisterClassExW(&windowClass);
    }
    // WM_NCCREATE hands the window to window_; the returned handle is the same one.
    if (!::CreateWindowExW(ExStyle(), W(className), W(description_.caption), Style(), CW_USEDEFAULT, CW_USEDEFAULT, 0,
                           0, Application.Handle(), nullptr, instance, this))
        throw EDescriptionError(u"cannot create the window " + Quoted(className));
    if (description_.border == BorderStyle::Dialog) {
        // Without a class icon Windows would still draw a default one in the caption.
        ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, 0);
        ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, 0);
    }

    CreateControls(formClass);
    BindHandlers(formClass);
    ScaleTo(WindowDpi(window_.get()));

    if (OnCreate) Guarded([&] { OnCreate(this); });
}

void TForm::CreateControls(const FormClass& formClass) {
    for (const ControlDescription& controlDescription : description_.controls) {
        controls_.push_back(MakeControl(*this, controlDescription));
    }
    // Tab order: the numbered controls by number, then the rest in description order.
    std::vector<TControl*> ordered;
    for (const auto& control : controls_) ordered.push_back(control.get());
    std::stable_sort(ordered.begin(), ordered.end(), [](const TControl* a, const TControl* b) {
        const int left = a->Description().tabOrder < 0 ? INT_MAX : a->Description().tabOrder;
        const int right = b->Description().tabOrder < 0 ? INT_MAX : b->Description().tabOrder;
        return left < right;
    });
    for (std::size_t i = 0; i < ordered.size(); ++i) ordered[i]->SetTabOrder(static_cast<int>(i));

    std::set<std::u16string_view> bound;
    for (const ControlBinding& binding : formClass.controls) {
        TControl* control = FindControl(binding.name);
        if (!control) throw BindingError(formClass, u"no control for the member", binding.name, 0);
        if (!binding.bind(*this, *control)) {
            throw BindingError(formClass, u"wrong kind of control for the member", binding.name,
                               control->Description().line);
        }
        bound.insert(binding.name);
    }
    for (const auto& control : controls_) {
        if (!bound.contains(control->Name())) {
            throw BindingError(formClass, u"no member for the control", control->Name(), control->Description().line);
        }
    }
}

void TForm::BindHandlers(const FormClass& formClass) {
    const auto find = [&](std::u16string_view name, int line) -> TNotifyEvent {
        if (name.empty()) return {};
        for (const HandlerBinding& handler : formClass.handlers) {
            if (handler.name == name) {
                return [this, call = handler.call](TObject* sender) { call(*this, sender); };
            }
        }
        throw BindingError(formClass, u"unknown handler", name, line);
    };
    OnCreate = find(description_.onCreate, 0);
    for (const auto& control : controls_) {
        const ControlDescription& d = control->Description();
        if (auto* edit = dynamic_cast<TEdit*>(control.get())) edit->OnChange = find(d.onChange, d.line);
        if (auto* memo = dynamic_cast<TMemo*>(control.get())) memo->OnChange = find(d.onChange, d.line);
        if (auto* button = dynamic_cast<TButton*>(control.get())) button->OnClick = find(d.onClick, d.line);
    }
}

void TForm::ScaleTo(int dpi) {
    dpi_ = dpi;
    font_.reset(CreateFormFont(description_.font, dpi));
    for (const auto& control : controls_) {
        ::SendMessageW(control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        control->Layout(dpi);
    }
    SIZE outer;
    if (description_.clientSize) {
        const SIZE client{ScaleToDpi(description_.clientSize->width, dpi), ScaleToDpi(description_.clientSize->height, dpi)};
        // The frame is drawn at the window's own DPI, whatever DPI the layout is for.
        const RECT rect = OuterRect(client, Style(), ExStyle(), WindowDpi(window_.get()));
        outer = {rect.right - rect.left, rect.bottom - rect.top};
    } else {
        outer = {ScaleToDpi(description_.outerSize->width, dpi), ScaleToDpi(description_.outerSize->height, dpi)};
    }
    ::SetWindowPos(window_.get(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window_.get(), nullptr, TRUE);
}

std::u16string TForm::Caption() const {
    const int length = ::GetWindowTextLengthW(window_.get());
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window_.get(), reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void TForm::SetCaption(std::u16string_view caption) {
    const std::u16string text(caption);
    ::SetWindowTextW(window_.get(), W(text));
}

bool TForm::Visible() const noexcept {
    return window_ && ::IsWindowVisible(window_.get());
}

void TForm::CenterOnScreen() {
    RECT rect;
    ::GetWindowRect(window_.get(), &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(window_.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show(int showCommand) {
    if (!shownOnce_) {
        shownOnce_ = true;
        if (description_.position == FormPosition::ScreenCenter) CenterOnScreen();
        ::SendMessageW(window_.get(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    }
    ::ShowWindow(window_.get(), showCommand);
    ::SetForegroundWindow(window_.get());
    UpdateDefaultButton();
}

void TForm::Hide() {
    ::ShowWindow(window_.get(), SW_HIDE);
}

ModalResult TForm::ShowModal() {
    // The application's other windows take no input while this one is up.
    std::vector<HWND> disabled;
    for (const auto& form : Application.Forms()) {
        HWND other = form->Handle();
        if (other && other != window_.get() && ::IsWindowEnabled(other)) {
            ::EnableWindow(other, FALSE);
            disabled.push_back(other);
        }
    }
    modalResult_ = ModalResult::None;
    modal_ = true;
    Show();
    do {
        Application.HandleMessage();
        if (Application.Terminated()) modalResult_ = ModalResult::Cancel;
    } while (modalResult_ == ModalResult::None);
    // Enable the others before hiding, so that activation passes to one of them.
    for (HWND other : disabled) ::EnableWindow(other, TRUE);
    Hide();
    modal_ = false;
    return modalResult_;
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = ModalResult::Cancel;
    } else if (Application.MainForm() == this) {
        Application.Terminate();
    } else {
        Hide();
    }
}

TControl* TForm::FindControl(std::u16string_view name) const noexcept {
    for (const auto& control : controls_) {
        if (control->Name() == name) return control.get();
    }
    return nullptr;
}

TControl* TForm::ControlFromHandle(HWND handle) const noexcept {
    if (!handle) return nullptr;
    for (const auto& control : controls_) {
        if (control->Handle() == handle) return control.get();
    }
    return nullptr;
}

TControl* TForm::FocusedControl() const noexcept {
    return ControlFromHandle(::GetFocus());
}

std::vector<TControl*> TForm::TabOrderList() const {
    std::vector<TControl*> list;
    for (const auto& control : controls_) {
        if (control->TakesFocus() && control->Enabled() && control->Visible()) list.push_back(control.get());
    }
    std::sort(list.begin(), list.end(), [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
    return list;
}

void TForm::SelectNext(TControl* from, bool forward) {
    const auto list = TabOrderList();
    if (list.empty()) return;
    TControl* next = nullptr;
    const auto at = std::find(list.begin(), list.end(), from);
    if (at == list.end()) {
        next = forward ? list.front() : list.back();
    } else {
        const auto index = static_cast<std::size_t>(at - list.begin());
        next = list[forward ? (index + 1) % list.size() : (index + list.size() - 1) % list.size()];
    }
    ::SetFocus(next->Handle());
    next->FocusEntered();
}

TButton* TForm::DefaultButton() const noexcept {
    for (const auto& control : controls_) {
        auto* button = dynamic_cast<TButton*>(control.get());
        if (button && button->IsDefault()) return button;
    }
    return nullptr;
}

TButton* TForm::CancelButton() const noexcept {
    for (const auto& control : controls_) {
        auto* button = dynamic_cast<TButton*>(control.get());
        if (button && button->IsCancel()) return button;
    }
    return nullptr;
}

void TForm::UpdateDefaultButton() {
    // The focused button takes the default frame; elsewhere the form's default button has it.
    auto* focused = dynamic_cast<TButton*>(FocusedControl());
    TButton* target = focused ? focused : DefaultButton();
    for (const auto& control : controls_) {
        if (auto* button = dynamic_cast<TButton*>(control.get())) button->ShowAsDefault(button == target);
    }
}

bool TForm::PressAccelerator(char16_t key, bool buttonsOnly) {
    for (const auto& control : controls_) {
        const char16_t accelerator = AcceleratorOf(control->Caption());
        if (!accelerator || !SameLetter(accelerator, key) || !control->Visible()) continue;
        if (control->IsButton()) {
            if (!control->Enabled()) continue;
            control->Click();
            return true;
        }
        if (!buttonsOnly && !control->Description().focusControl.empty()) {
            // Only a label linked to a control moves the focus there.
            TControl* target = FindControl(control->Description().focusControl);
            if (target && target->Enabled() && target->Visible()) {
                ::SetFocus(target->Handle());
                target->FocusEntered();
                return true;
            }
        }
    }
    return false;
}

bool TForm::PreTranslateKey(const MSG& message) {
    if (!::IsWindowEnabled(window_.get())) return false;
    TControl* focused = ControlFromHandle(message.hwnd);
    const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (message.message) {
    case WM_KEYDOWN:
        switch (message.wParam) {
        case VK_TAB:
            if (control) return false;
            SelectNext(focused, (::GetKeyState(VK_SHIFT) & 0x8000) == 0);
            return true;
        case VK_RETURN: {
            if (focused && focused->WantsReturn()) return false;
            if (focused && focused->IsButton()) {
                focused->Click();
                return true;
            }
            TButton* button = DefaultButton();
            if (button && button->Enabled() && button->Visible()) {
                button->Click();
                return true;
            }
            return false;
        }
        case VK_ESCAPE: {
            if (focused && focused->WantsEscape()) return false;
            TButton* button = CancelButton();
            if (button && button->Enabled() && button->Visible()) {
                button->Click();
                return true;
            }
            return false;
        }
        }
        return false;
    case WM_SYSCHAR:
        // Bit 29: the character came with Alt held.
        if (!(message.lParam & (1 << 29))) return false;
        return PressAccelerator(static_cast<char16_t>(message.wParam), false);
    case WM_CHAR:
        // A letter alone works as an accelerator only where it cannot be text.
        if (!focused || !focused->IsButton()) return false;
        if (message.wParam < 0x20) return false;
        return PressAccelerator(static_cast<char16_t>(message.wParam), true);
    }
    return false;
}

LRESULT CALLBACK TForm::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_.reset(window);
    }
    auto* form = reinterpret_cast<TForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form || message == WM_NCDESTROY) {
        if (form) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            form->window_.release();
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (!Guarded([&] { result = form->WindowProc(message, wParam, lParam); })) return 0;
    return result;
}

LRESULT TForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.get();
    switch (message) {
    case WM_COMMAND:
        if (TControl* control = ControlFromHandle(reinterpret_cast<HWND>(lParam))) {
            const WORD code = HIWORD(wParam);
            control->Command(code);
            if (code == BN_SETFOCUS || code == BN_KILLFOCUS || code == EN_SETFOCUS || code == EN_KILLFOCUS) {
                UpdateDefaultButton();
            }
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (TControl* control = ControlFromHandle(item->hwndItem)) {
            control->DrawItem(*item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        TControl* control = ControlFromHandle(reinterpret_cast<HWND>(lParam));
        // A read-only memo keeps the window colour: the licence is read on white, not grey.
        const int color = dynamic_cast<TMemo*>(control) ? COLOR_WINDOW : COLOR_BTNFACE;
        ::SetTextColor(dc, ::GetSysColor(color == COLOR_WINDOW ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
        ::SetBkColor(dc, ::GetSysColor(color));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(color));
    }
    case WM_SETCURSOR: {
        TControl* control = ControlFromHandle(reinterpret_cast<HWND>(wParam));
        if (control && LOWORD(lParam) == HTCLIENT && control->Description().cursor == CursorKind::HandPoint) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (ControlFromHandle(::GetFocus())) lastFocus_ = ::GetFocus();
        } else if (!HIWORD(wParam)) {
            // Give the focus back where it was, or to the control the description names.
            TControl* target = ControlFromHandle(lastFocus_);
            if (!target && !description_.activeControl.empty()) target = FindControl(description_.activeControl);
            if (!target || !target->Enabled() || !target->Visible()) {
                const auto list = TabOrderList();
                target = list.empty() ? nullptr : list.front();
            }
            if (target) {
                ::SetFocus(target->Handle());
            } else {
                ::SetFocus(window);
            }
            UpdateDefaultButton();
        }
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            // The forms go down to the application's taskbar entry together.
            Application.Minimize();
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        ScaleTo(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace platform
