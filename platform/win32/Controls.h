// The native controls a window description can hold. Each is a real child window, so screen
// readers and UI automation see it; the form owns the objects, the form's window the HWNDs.
#pragma once

#include "FormDescription.h"
#include "Handle.h"

#include <functional>
#include <string>
#include <string_view>

namespace platform {

class TForm;

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TControl : public TObject {
public:
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const noexcept { return handle_; }
    const std::u16string& Name() const noexcept { return description_.name; }
    const ControlDescription& Description() const noexcept { return description_; }
    TForm& Form() const noexcept { return form_; }

    std::u16string Caption() const;
    void SetCaption(std::u16string_view caption);
    bool Enabled() const noexcept;
    void SetEnabled(bool enabled);
    bool Visible() const noexcept;
    int TabOrder() const noexcept { return tabOrder_; }
    void SetTabOrder(int order) noexcept { tabOrder_ = order; }

    // Whether Tab can land here and the control can hold the focus.
    virtual bool TakesFocus() const noexcept { return true; }
    virtual bool WantsReturn() const noexcept { return false; }
    virtual bool WantsEscape() const noexcept { return false; }
    virtual bool IsButton() const noexcept { return false; }
    // The button press of Enter, Esc, Space, an accelerator or a mouse click.
    virtual void Click() {}
    virtual void Layout(int dpi);
    virtual void Command(WORD) {}
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
    virtual void FocusEntered() {}
    virtual void CaptionChanged() {}

protected:
    TControl(TForm& form, const ControlDescription& description);
    void CreateHandle(const wchar_t* windowClass, DWORD style, DWORD exStyle, std::u16string_view text);

    TForm& form_;
    ControlDescription description_;
    HWND handle_ = nullptr;  // borrowed: the form's window destroys its children
    int tabOrder_ = -1;
};

class TLabel : public TControl {
public:
    TLabel(TForm& form, const ControlDescription& description);
    bool TakesFocus() const noexcept override { return false; }
    void Layout(int dpi) override;
    // A new caption may need another size.
    void CaptionChanged() override;
};

class TEdit : public TControl {
public:
    TEdit(TForm& form, const ControlDescription& description);
    std::u16string Text() const { return text_; }
    // Runs OnChange when the text differs from what the box holds; the same text is no change.
    void SetText(std::u16string_view text);
    void Command(WORD code) override;
    void FocusEntered() override;

    TNotifyEvent OnChange;

private:
    std::u16string text_;  // what the box held when it last told us of a change
};

class TMemo : public TControl {
public:
    TMemo(TForm& form, const ControlDescription& description);
    bool WantsReturn() const noexcept override { return description_.wantReturns; }
    bool WantsEscape() const noexcept override { return description_.wantEscape; }
    std::u16string Text() const;
    // Replaces the content with `text` (line breaks already CR LF); left untouched when equal.
    // "Text exceeds memo capacity" when the box does not take all of it.
    void SetLinesText(std::u16string text);
    void LoadFromFile(std::u16string_view fileName);
    void Command(WORD code) override;

    TNotifyEvent OnChange;
};

class TButton : public TControl {
public:
    TButton(TForm& form, const ControlDescription& description);
    bool IsButton() const noexcept override { return true; }
    bool IsDefault() const noexcept { return description_.isDefault; }
    bool IsCancel() const noexcept { return description_.isCancel; }
    ModalResult ButtonModalResult() const noexcept { return description_.modalResult; }
    // Sets the form's modal result first, then runs OnClick.
    void Click() override;
    void Command(WORD code) override;
    // The heavy frame of the button that Enter presses.
    virtual void ShowAsDefault(bool isDefault);

    TNotifyEvent OnClick;

protected:
    TButton(TForm& form, const ControlDescription& description, DWORD style);
    bool showsAsDefault_ = false;
};

// A push button with a glyph of its kind (OK, Cancel) beside its caption; drawn by us.
class TBitBtn : public TButton {
public:
    TBitBtn(TForm& form, const ControlDescription& description);
    void ShowAsDefault(bool isDefault) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    void Layout(int dpi) override;

private:
    UniqueHbitmap glyph_;  // two 18x18 images: normal, and the source of the disabled look
    int dpi_ = 96;
};

} // namespace platform
