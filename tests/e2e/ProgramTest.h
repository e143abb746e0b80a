// The fixture of the end-to-end cases: no registration record before and after each case, a
// scratch working directory, and one run of the program with its windows.
#pragma once

#include "Driver.h"
#include "ProgramWindows.h"
#include "RecordKey.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline const std::string DefaultLicence = "Terms of use.\r\nSecond line of the terms.";

// The program under test, as the build placed it.
std::wstring ProgramPath();

// The text the program's error box shows for `message`: a final "." unless the message ends
// in a character that sorts at or before it.
std::wstring ErrorBoxText(std::wstring message);
// The data of a stored value; empty when there is no such value.
std::optional<std::vector<BYTE>> StoredBytes(const std::wstring& valueName);
// The system's text for an error code, as the program puts it into a message.
std::wstring SystemErrorText(DWORD error);

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `licenceBytes` as license.txt (none when empty) and starts the program.
    void Start(const std::optional<std::string>& licenceBytes = DefaultLicence,
               std::optional<WORD> show = std::nullopt);
    // Starts, then waits for the registration dialog with the focus in the name box.
    void StartToDialog(const std::optional<std::string>& licenceBytes = DefaultLicence);
    // Waits for the registration dialog to be up, with the focus in the name box.
    void WaitForDialog();
    // Waits for the licence window to be up, with the focus on "I agree".
    void WaitForLicenceWindow();
    // The licence window, shown or not.
    std::optional<LicenceWindow> HiddenLicenceWindow() const;

    // Types into `box` and waits until it holds `expected`: every key sent before has been handled.
    void TypeAndWait(HWND box, const std::wstring& text, const std::wstring& expected);
    void PressAndWaitForFocus(Key key, HWND focus);
    void ExpectExit(DWORD status);
    // The run goes on: the process lives and `window` is still visible.
    void ExpectStillWaiting(HWND window) const;

    ScratchDirectory directory;
    std::unique_ptr<Program> program;
    RegistrationDialog dialog;
    LicenceWindow licence;
};

} // namespace e2e
