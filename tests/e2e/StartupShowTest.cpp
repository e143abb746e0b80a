// The show state the launcher asks for decides how the licence window comes up once the dialog
// has closed by its frame.
#include "ProgramTest.h"

namespace e2e {
namespace {

using StartupShowTest = ProgramTest;

TEST_F(StartupShowTest, MaximisedStartShowsTheLicenceWindowMaximised) {
    ASSERT_NO_FATAL_FAILURE(Start(DefaultLicence, SW_SHOWMAXIMIZED));
    ASSERT_NO_FATAL_FAILURE(WaitForDialog());
    ASSERT_TRUE(Press(dialog.window, AltF4));

    ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
    EXPECT_TRUE(::IsZoomed(licence.window));
    ASSERT_TRUE(Press(licence.window, Enter));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

// Minimised to the taskbar entry instead; restoring it brings the licence window back.
TEST_F(StartupShowTest, MinimisedStartMinimisesTheApplication) {
    ASSERT_NO_FATAL_FAILURE(Start(DefaultLicence, SW_SHOWMINNOACTIVE));
    ASSERT_NO_FATAL_FAILURE(WaitForDialog());
    ASSERT_TRUE(Press(dialog.window, AltF4));

    HWND application = program->TopLevelWindow(ApplicationClass, false);
    ASSERT_NE(application, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(application) != FALSE; })) << "the application is not minimised";
    const auto hidden = HiddenLicenceWindow();
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(::IsWindowVisible(hidden->window));
    EXPECT_TRUE(program->Running());

    // What clicking the taskbar entry does.
    ASSERT_TRUE(::PostMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0));
    ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
    EXPECT_FALSE(::IsIconic(application));
    ASSERT_TRUE(Press(licence.window, Enter));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

} // namespace
} // namespace e2e
