// What the robustness cases need beside the end-to-end driver: the program under test, a run
// carried from its start to the registration dialog past any error boxes, and the fixture that
// keeps the stored record out of the way before and after each case.
#pragma once

#include "Driver.h"
#include "ProgramWindows.h"
#include "RecordKey.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace robustness {

using e2e::milliseconds;

// The program under test, as the build placed it.
std::wstring ProgramPath();

// The text the program's error box shows for `message`: a final "." unless the message ends
// in a character that sorts at or before it.
std::wstring ErrorBoxText(std::wstring message);

// The length of a window's text, asked with a bounded wait; empty when it does not answer.
std::optional<std::size_t> TextLength(HWND window, milliseconds timeout = e2e::DefaultTimeout);

// What the stored record holds: the data of a value, empty when there is no such value.
std::optional<std::vector<BYTE>> StoredBytes(const std::wstring& valueName);

struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

// How the start of a run went, up to the registration dialog.
struct StartUp {
    // The error boxes shown before the dialog, in order; each was dismissed with OK.
    std::vector<SeenBox> boxes;
    std::optional<e2e::RegistrationDialog> dialog;
    // Why there is no dialog, when there is none.
    std::string failure;
};

// Waits, never longer than `timeout` in all, for the registration dialog with the focus in its
// name box, pressing OK in every error box that comes up first. A program that ends, or stops
// answering, before the dialog is up gives a failure.
StartUp RunToDialog(const e2e::Program& program, milliseconds timeout = e2e::DefaultTimeout);

// No stored record before and after each case; runs still going at the end are killed.
class RecordFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program in `workDir`; the run is owned by the fixture.
    e2e::Program& Start(const std::wstring& workDir);

private:
    std::vector<std::unique_ptr<e2e::Program>> programs_;
};

} // namespace robustness
