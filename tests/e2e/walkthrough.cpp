// A scripted walk through the program for looking at it: registers once, closes the dialog by
// its frame once, and saves a screenshot of each window on the way.
//
//     walkthrough.exe <register.exe> <working directory with license.txt> <screenshot directory>
#include "Driver.h"
#include "ProgramWindows.h"
#include "Screenshot.h"

#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>

using namespace e2e;

namespace {

void Fail(const char* run, const std::string& what) {
    std::printf("%s: FAILED: %s\n", run, what.c_str());
    std::fflush(stdout);
}

// Makes sure the window shows its latest state before the screen is read.
void Repaint(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Answers(window);
}

bool Screenshot(const char* run, HWND window, const std::wstring& path) {
    Repaint(window);
    if (!SaveScreenshot(window, path)) {
        Fail(run, "cannot save " + Narrow(path));
        return false;
    }
    std::printf("%s: screenshot %s\n", run, Narrow(path).c_str());
    return true;
}

bool Finish(const char* run, Program& program, DWORD expected) {
    const auto status = program.WaitForExit();
    if (!status) {
        Fail(run, "the program did not end in time and was killed");
        return false;
    }
    std::printf("%s: exit status %lu\n", run, static_cast<unsigned long>(*status));
    if (*status != expected) {
        Fail(run, "expected exit status " + std::to_string(expected));
        return false;
    }
    return true;
}

std::optional<RegistrationDialog> WaitForDialog(const char* run, const Program& program) {
    const auto dialog = RegistrationDialog::From(program.WaitForWindow(DialogClass));
    if (!dialog) {
        Fail(run, "no registration dialog came up");
        return std::nullopt;
    }
    if (!program.WaitForFocus(dialog->name)) {
        Fail(run, "the name box never got the focus");
        return std::nullopt;
    }
    return dialog;
}

bool TypeInto(const char* run, HWND box, const std::wstring& text) {
    if (Type(box, text) && WaitUntil([&] { return Text(box) == text; })) return true;
    Fail(run, "typing \"" + Narrow(text) + "\" did not arrive");
    return false;
}

bool RegistrationRun(const std::wstring& exe, const std::wstring& workDir, const std::wstring& shots) {
    const char* run = "registration run";
    Program program(exe, workDir);
    if (!program.Started()) {
        Fail(run, "cannot start the program: error " + std::to_string(program.StartError()));
        return false;
    }
    const auto dialog = WaitForDialog(run, program);
    if (!dialog) return false;
    if (!TypeInto(run, dialog->name, L"Ada Lovelace")) return false;
    if (!Press(dialog->window, Tab) || !program.WaitForFocus(dialog->organization)) {
        Fail(run, "Tab did not reach the organisation box");
        return false;
    }
    if (!TypeInto(run, dialog->organization, L"Analytical Engines Ltd")) return false;
    if (!Screenshot(run, dialog->window, shots + L"\\registration.bmp")) return false;
    if (!Press(dialog->window, Enter)) {
        Fail(run, "cannot press Enter");
        return false;
    }
    return Finish(run, program, 0);
}

bool LicenceRun(const std::wstring& exe, const std::wstring& workDir, const std::wstring& shots) {
    const char* run = "licence run";
    Program program(exe, workDir);
    if (!program.Started()) {
        Fail(run, "cannot start the program: error " + std::to_string(program.StartError()));
        return false;
    }
    const auto dialog = WaitForDialog(run, program);
    if (!dialog) return false;
    if (!Press(dialog->window, AltF4)) {
        Fail(run, "cannot press Alt+F4");
        return false;
    }
    const auto licence = LicenceWindow::From(program.WaitForWindow(LicenceClass));
    if (!licence || !program.WaitForFocus(licence->agreeButton)) {
        Fail(run, "no licence window with the focus on \"I agree\" came up");
        return false;
    }
    if (!Screenshot(run, licence->window, shots + L"\\licence.bmp")) return false;
    if (!Press(licence->window, Enter)) {
        Fail(run, "cannot press Enter");
        return false;
    }
    return Finish(run, program, 1);
}

std::wstring Argument(const wchar_t* argument) {
    return WindowsPath(Narrow(argument));
}

} // namespace

int main() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count != 4) {
        std::fprintf(stderr, "usage: walkthrough.exe <register.exe> <working directory> <screenshot directory>\n");
        return 2;
    }
    BecomeDpiAware();
    const std::wstring exe = Argument(arguments[1]);
    const std::wstring workDir = Argument(arguments[2]);
    const std::wstring shots = Argument(arguments[3]);
    ::LocalFree(arguments);

    const bool registered = RegistrationRun(exe, workDir, shots);
    const bool licensed = LicenceRun(exe, workDir, shots);
    std::printf("walkthrough: %s\n", registered && licensed ? "done" : "FAILED");
    return registered && licensed ? 0 : 1;
}
