// The example NSIS installer with the program inside it, installed silently: the installer
// starts the registration step in the installation directory, the user answers it by keystrokes,
// and the installer takes the step's exit status down the right branch.
#include "DesktopWindows.h"
#include "RunSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace robustness {
namespace {

using namespace e2e;

// Unpacking and starting the step take a few seconds under Wine on a cold cache.
constexpr milliseconds InstallerTimeout{60000};

std::wstring InstallerPath() {
    return WindowsPath(INSTALLER_EXE);
}

std::optional<std::string> FileText(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct Answer {
    const char* name;
    std::wstring userName;  // typed, then Enter presses Register; empty: Esc
    std::string result;     // what the installer writes to registration-result.txt
};

void PrintTo(const Answer& row, std::ostream* out) {
    *out << row.name;
}

class InstallerTest : public RecordFixture, public ::testing::WithParamInterface<Answer> {
protected:
    void TearDown() override {
        KillProcessOf(dialog.window);
        RecordFixture::TearDown();
    }

    ScratchDirectory installDir;
    RegistrationDialog dialog;
};

TEST_P(InstallerTest, SilentInstallBranchesOnTheStepsExitStatus) {
    const Answer& row = GetParam();
    // /D must come last and is taken whole, spaces and all.
    Process installer(InstallerPath(), L"/S /D=" + installDir.Path());
    ASSERT_TRUE(installer.Started()) << "cannot start " << Narrow(InstallerPath()) << ": error "
                                     << installer.StartError();

    HWND window = WaitForAnyWindow(DialogClass, InstallerTimeout, [&] { return installer.Running(); });
    ASSERT_NE(window, nullptr) << "no registration dialog came up"
                               << (installer.Running() ? "" : "; the installer ended without one");
    const auto found = RegistrationDialog::From(window);
    ASSERT_TRUE(found) << "the registration dialog does not have its seven controls";
    dialog = *found;
    ASSERT_TRUE(WaitForFocusInThread(dialog.window, dialog.name)) << "the name box never got the focus";
    EXPECT_TRUE(FileExists(installDir.Path() + L"\\register.exe"));

    // The step found license.txt in its working directory: the installation directory.
    DWORD step = 0;
    ::GetWindowThreadProcessId(dialog.window, &step);
    const auto licence = LicenceWindow::From(FindTopLevelWindow(LicenceClass, false, step));
    ASSERT_TRUE(licence) << "the step has no licence window";
    EXPECT_EQ(Text(licence->window), ApplicationTitle) << "the step did not load license.txt";
    EXPECT_NE(Text(licence->text), LicenceDesignText);

    const bool registers = !row.userName.empty();
    if (registers) {
        ASSERT_TRUE(Type(dialog.name, row.userName));
        ASSERT_TRUE(WaitUntil([&] { return Text(dialog.name) == row.userName; })) << "typing did not arrive";
    }
    ASSERT_TRUE(Press(dialog.window, registers ? Enter : Esc));

    const auto status = installer.WaitForExit(InstallerTimeout);
    ASSERT_TRUE(status) << "the installer did not end and was killed";
    EXPECT_EQ(*status, 0u) << "the installation failed";
    EXPECT_EQ(FileText(installDir.Path() + L"\\registration-result.txt"), row.result + "\r\n");
    if (registers) {
        EXPECT_EQ(StoredBytes(L"Name"), StringData(row.userName));
        EXPECT_EQ(StoredBytes(L"Organization"), StringData(L""));
    } else {
        // Created, empty, when the step started; nothing stored since.
        EXPECT_EQ(RecordKey::ValueCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(, InstallerTest,
                         ::testing::Values(Answer{"Register", L"Ada Lovelace", "registered"},
                                           Answer{"Escape", L"", "not registered"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace robustness
