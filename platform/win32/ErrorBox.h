// The standard error box, and the firewall that turns an escaping error into it.
#pragma once

#include <string_view>
#include <utility>

namespace platform {

// A message box with the error icon and a single OK, owned by the application's window and
// captioned with the application title; the text follows ErrorBoxText.
void ShowErrorBox(std::u16string_view message) noexcept;

// Call from inside a catch block: shows the error being handled in the standard error box.
void ShowCurrentException() noexcept;

// Runs `action`; an error that escapes it is shown in the standard error box and the caller
// carries on. Returns whether the action completed. Every handler runs through this.
template <class Action>
bool Guarded(Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

} // namespace platform
