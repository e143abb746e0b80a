#include "Controls.h"

#include "Dpi.h"
#include "ErrorBox.h"
#include "Form.h"
#include "TextFile.h"
#include "Wide.h"

#include <commctrl.h>

namespace platform {
namespace {

std::u16string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return text;
}

} // namespace

// ---- TControl

TControl::TControl(TForm& form, const ControlDescription& description) : form_(form), description_(description) {}

void TControl::CreateHandle(const wchar_t* windowClass, DWORD style, DWORD exStyle, std::u16string_view text) {
    const std::u16string caption(text);
    if (!description_.enabled) style |= WS_DISABLED;
    handle_ = ::CreateWindowExW(exStyle, windowClass, W(caption), style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                form_.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!handle_) throw EDescriptionError(u"cannot create the control '" + description_.name + u"'");
}

std::u16string TControl::Caption() const {
    return WindowText(handle_);
}

void TControl::SetCaption(std::u16string_view caption) {
    const std::u16string text(caption);
    ::SetWindowTextW(handle_, W(text));
    CaptionChanged();
}

bool TControl::Enabled() const noexcept {
    return ::IsWindowEnabled(handle_) != FALSE;
}

void TControl::SetEnabled(bool enabled) {
    if (Enabled() == enabled) return;
    const bool hadFocus = ::GetFocus() == handle_;
    ::EnableWindow(handle_, enabled);
    // A disabled control cannot keep the focus: pass it on as Tab would.
    if (!enabled && hadFocus) form_.SelectNext(this, true);
}

bool TControl::Visible() const noexcept {
    return ::IsWindowVisible(handle_) != FALSE;
}

void TControl::Layout(int dpi) {
    const Bounds& b = description_.bounds;
    ::MoveWindow(handle_, ScaleToDpi(b.left, dpi), ScaleToDpi(b.top, dpi), ScaleToDpi(b.width, dpi),
                 ScaleToDpi(b.height, dpi), TRUE);
}

// ---- TLabel

TLabel::TLabel(TForm& form, const ControlDescription& description) : TControl(form, description) {
    // No SS_NOPREFIX: "&" shows as the underlined accelerator.
    CreateHandle(L"Static", description.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP, 0, description.caption);
}

void TLabel::Layout(int dpi) {
    TControl::Layout(dpi);
    if (!description_.autoSize && !description_.wordWrap) return;
    WindowDc dc(handle_);
    SelectedObject font(dc.get(), form_.Font());
    const std::u16string caption = Caption();
    const int width = ScaleToDpi(description_.bounds.width, dpi);
    RECT rect{0, 0, description_.wordWrap ? width : 0, 0};
    ::DrawTextW(dc.get(), W(caption), -1, &rect, DT_CALCRECT | (description_.wordWrap ? DT_WORDBREAK : DT_SINGLELINE));
    if (description_.autoSize) {
        // As large as the caption in the form's font at this DPI.
        ::SetWindowPos(handle_, nullptr, 0, 0, rect.right, rect.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (rect.bottom > ScaleToDpi(description_.bounds.height, dpi)) {
        // A fixed-size wrapped label keeps its width, but never cuts off its last lines when
        // the font is wider than the one it was designed with.
        ::SetWindowPos(handle_, nullptr, 0, 0, width, rect.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TLabel::CaptionChanged() {
    Layout(form_.Dpi());
}

// ---- TEdit

TEdit::TEdit(TForm& form, const ControlDescription& description) : TControl(form, description), text_(description.caption) {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
    if (description.readOnly) style |= ES_READONLY;
    CreateHandle(L"Edit", style, WS_EX_CLIENTEDGE, description.caption);
}

void TEdit::SetText(std::u16string_view text) {
    if (text == WindowText(handle_)) return;
    const std::u16string value(text);
    ::SetWindowTextW(handle_, W(value));
}

void TEdit::Command(WORD code) {
    if (code != EN_CHANGE) return;
    std::u16string now = WindowText(handle_);
    if (now == text_) return;  // the box said it changed, but what it holds is what it held
    text_ = std::move(now);
    if (OnChange) Guarded([&] { OnChange(this); });
}

void TEdit::FocusEntered() {
    ::SendMessageW(handle_, EM_SETSEL, 0, -1);
}

// ---- TMemo

TMemo::TMemo(TForm& form, const ControlDescription& description) : TControl(form, description) {
    DWORD style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL;
    if (description.readOnly) style |= ES_READONLY;
    if (description.scrollBars == ScrollBars::Vertical || description.scrollBars == ScrollBars::Both) style |= WS_VSCROLL;
    if (description.scrollBars == ScrollBars::Horizontal || description.scrollBars == ScrollBars::Both) style |= WS_HSCROLL;
    // Lines wrap at the box's width unless it scrolls sideways.
    if (!description.wordWrap) style |= ES_AUTOHSCROLL;
    std::u16string text;
    for (std::size_t i = 0; i < description.lines.size(); ++i) {
        if (i) text += u"\r\n";
        text += description.lines[i];
    }
    CreateHandle(L"Edit", style, WS_EX_CLIENTEDGE, u"");
    // The default limit is 32,767 characters; a licence may be far longer.
    ::SendMessageW(handle_, EM_SETLIMITTEXT, 0, 0);
    SetLinesText(std::move(text));
}

std::u16string TMemo::Text() const {
    return WindowText(handle_);
}

// Taken by value and moved in: a licence of many megabytes is not copied once more.
void TMemo::SetLinesText(std::u16string value) {
    if (static_cast<std::size_t>(::GetWindowTextLengthW(handle_)) == value.size() && Text() == value) return;
    const LRESULT set = ::SendMessageW(handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(value)));
    if (!set || static_cast<std::size_t>(::GetWindowTextLengthW(handle_)) != value.size()) {
        throw Exception(u"Text exceeds memo capacity");
    }
}

void TMemo::LoadFromFile(std::u16string_view fileName) {
    SetLinesText(LoadTextFile(fileName));
}

void TMemo::Command(WORD code) {
    if (code == EN_CHANGE && OnChange) Guarded([&] { OnChange(this); });
}

// ---- TButton

TButton::TButton(TForm& form, const ControlDescription& description)
    : TButton(form, description, BS_PUSHBUTTON) {}

TButton::TButton(TForm& form, const ControlDescription& description, DWORD style) : TControl(form, description) {
    // BS_NOTIFY: focus notifications, so the default frame can follow the focus.
    CreateHandle(L"Button", style | BS_NOTIFY | WS_TABSTOP, 0, description.caption);
}

void TButton::Click() {
    if (description_.modalResult != ModalResult::None) form_.SetModalResult(description_.modalResult);
    if (OnClick) Guarded([&] { OnClick(this); });
}

void TButton::Command(WORD code) {
    if (code == BN_CLICKED) Click();
}

void TButton::ShowAsDefault(bool isDefault) {
    if (showsAsDefault_ == isDefault) return;
    showsAsDefault_ = isDefault;
    ::SendMessageW(handle_, BM_SETSTYLE, (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY, TRUE);
}

} // namespace platform
