#include "ProgramWindows.h"

#include "Driver.h"

namespace e2e {

std::optional<RegistrationDialog> RegistrationDialog::From(HWND window) {
    const auto children = Children(window);
    if (!window || children.size() != 7) return std::nullopt;
    return RegistrationDialog{window,      children[0], children[1], children[2],
                              children[3], children[4], children[5], children[6]};
}

std::optional<LicenceWindow> LicenceWindow::From(HWND window) {
    const auto children = Children(window);
    if (!window || children.size() != 4) return std::nullopt;
    return LicenceWindow{window, children[0], children[1], children[2], children[3]};
}

} // namespace e2e
