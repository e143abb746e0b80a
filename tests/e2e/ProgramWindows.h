// The program's windows as a driver sees them: class names, captions, and the child controls in
// the order the program creates them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

inline const std::wstring ApplicationClass = L"TApplication";
inline const std::wstring DialogClass = L"TregisterForm";
inline const std::wstring LicenceClass = L"TABox";
inline const std::wstring MessageBoxClass = L"#32770";

inline const std::wstring ApplicationTitle = L"Quorvel Evaluation Edition Setup";
inline const std::wstring DialogCaption = L"Please Register Quorvel Evaluation Edition";
inline const std::wstring LicenceDesignCaption = L"Licence";
inline const std::wstring LicenceDesignText = L"Please read the file LICENCE.TXT that comes with your package";

struct RegistrationDialog {
    HWND window = nullptr;
    HWND prompt = nullptr;
    HWND nameLabel = nullptr;
    HWND name = nullptr;
    HWND organizationLabel = nullptr;
    HWND organization = nullptr;
    HWND registerButton = nullptr;
    HWND cancelButton = nullptr;

    // Empty when the window does not have the dialog's seven children.
    static std::optional<RegistrationDialog> From(HWND window);
};

struct LicenceWindow {
    HWND window = nullptr;
    HWND text = nullptr;
    HWND label = nullptr;
    HWND agreeButton = nullptr;
    HWND cancelButton = nullptr;

    // Empty when the window does not have the licence window's four children.
    static std::optional<LicenceWindow> From(HWND window);
};

} // namespace e2e
