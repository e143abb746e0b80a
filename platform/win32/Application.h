// TApplication: the one application object. It owns the forms, holds the title and the hidden
// window that names the program's taskbar entry, runs the loops and takes the termination request.
#pragma once

#include "Form.h"
#include "Handle.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TApplication {
public:
    TApplication() = default;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void Initialize();
    std::u16string Title() const { return title_; }
    void SetTitle(std::u16string_view title);
    // The window that owns the forms and the error boxes; null before Initialize.
    HWND Handle() const noexcept { return window_.get(); }

    // Creates a form of class T: `reference` is set first, so the creation handler may use it;
    // the first form created becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        auto form = std::make_unique<T>();
        reference = form.get();
        forms_.push_back(std::move(form));
        reference->Create(T::Class());
        if (!mainForm_) mainForm_ = reference;
    }

    TForm* MainForm() const noexcept { return mainForm_; }
    const std::vector<std::unique_ptr<TForm>>& Forms() const noexcept { return forms_; }
    TForm* FindForm(HWND window) const noexcept;

    // The main loop: shows the main form (also when termination is already waiting), then
    // handles events until it takes the termination request.
    void Run();
    // Takes one event from the queue and handles it; blocks until there is one.
    void HandleMessage();
    // Queues the termination request; it takes effect when a loop takes it from the queue.
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }

    void Minimize();
    void Restore();
    // Destroys every form and the application window (tests create several applications' worth).
    void Reset();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ActivateCurrentForm();

    std::u16string title_;
    UniqueHwnd window_;
    std::vector<std::unique_ptr<TForm>> forms_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> hiddenByMinimize_;
    bool terminated_ = false;
};

extern TApplication Application;

// The icon stored as "MAINICON", or the system's application icon; shared, never destroyed.
HICON LoadMainIcon(int size);

} // namespace platform
