// TForm: a top-level window built from its window description, with its controls bound by
// name to members of the derived class and its events bound by name to methods.
#pragma once

#include "Controls.h"
#include "FormDescription.h"
#include "Handle.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TForm;

// One row of a form class's table: a control member or a handler, by its name.
struct ControlBinding {
    std::u16string_view name;
    // Stores the control in the member; false when the control is of another kind.
    std::function<bool(TForm&, TControl&)> bind;
};

struct HandlerBinding {
    std::u16string_view name;
    std::function<void(TForm&, TObject*)> call;
};

struct FormClass {
    std::u16string_view resourceName;  // the RT_RCDATA resource holding the description
    std::vector<ControlBinding> controls;
    std::vector<HandlerBinding> handlers;
};

template <class Form, class Control>
ControlBinding Member(std::u16string_view name, Control* Form::*member) {
    return {name, [member](TForm& form, TControl& control) {
                auto* typed = dynamic_cast<Control*>(&control);
                if (!typed) return false;
                static_cast<Form&>(form).*member = typed;
                return true;
            }};
}

template <class Form>
HandlerBinding Handler(std::u16string_view name, void (Form::*method)(TObject*)) {
    return {name, [method](TForm& form, TObject* sender) { (static_cast<Form&>(form).*method)(sender); }};
}

class TForm : public TObject {
public:
    TForm();
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Loads the description from the class's resource and creates the window hidden, with its
    // controls; then runs the creation handler, whose errors are shown and do not stop creation.
    // A bad or missing description is an EDescriptionError.
    void Create(const FormClass& formClass);
    void Create(const FormClass& formClass, const FormDescription& description);

    HWND Handle() const noexcept { return window_.get(); }
    const FormDescription& Description() const noexcept { return description_; }
    std::u16string Caption() const;
    void SetCaption(std::u16string_view caption);
    bool Visible() const noexcept;
    void Show(int showCommand = SW_SHOWNORMAL);
    void Hide();
    ModalResult FormModalResult() const noexcept { return modalResult_; }
    void SetModalResult(ModalResult result) noexcept { modalResult_ = result; }
    // Runs a nested loop until the modal result is set or termination is requested (Cancel).
    ModalResult ShowModal();
    bool IsModal() const noexcept { return modal_; }

    int Dpi() const noexcept { return dpi_; }
    // Places and sizes the window and its controls for `dpi` (the description is at 96).
    void ScaleTo(int dpi);
    HFONT Font() const noexcept { return font_.get(); }

    TControl* FindControl(std::u16string_view name) const noexcept;
    TControl* ControlFromHandle(HWND handle) const noexcept;
    const std::vector<std::unique_ptr<TControl>>& Controls() const noexcept { return controls_; }
    TControl* FocusedControl() const noexcept;

    // Keyboard handling of our own in place of IsDialogMessage; true when the message was used.
    bool PreTranslateKey(const MSG& message);
    void SelectNext(TControl* from, bool forward);
    void UpdateDefaultButton();

    TNotifyEvent OnCreate;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(const FormClass& formClass);
    void BindHandlers(const FormClass& formClass);
    std::vector<TControl*> TabOrderList() const;
    TButton* DefaultButton() const noexcept;
    TButton* CancelButton() const noexcept;
    bool PressAccelerator(char16_t key, bool buttonsOnly);
    void Close();
    void CenterOnScreen();
    DWORD Style() const noexcept;
    DWORD ExStyle() const noexcept;

    FormDescription description_;
    UniqueHwnd window_;
    UniqueHfont font_;
    std::vector<std::unique_ptr<TControl>> controls_;
    HWND lastFocus_ = nullptr;
    ModalResult modalResult_ = ModalResult::None;
    bool modal_ = false;
    bool shownOnce_ = false;
    int dpi_ = 96;
};

} // namespace platform
