// How a run ends: every way out of the registration dialog, what the licence window does next,
// the exit status, and what is left in the registry.
#include "ProgramTest.h"

#include <functional>
#include <vector>

namespace e2e {
namespace {

// What the user does in the registration dialog after typing the two boxes.
using DialogAction = std::function<bool(const RegistrationDialog&)>;

DialogAction Keys(std::initializer_list<Key> keys) {
    std::vector<Key> list(keys);
    return [list](const RegistrationDialog& dialog) {
        for (const Key& key : list) {
            if (!Press(dialog.window, key)) return false;
        }
        return true;
    };
}

DialogAction ClickOn(HWND RegistrationDialog::*control) {
    return [control](const RegistrationDialog& dialog) { return Click(dialog.*control); };
}

struct DialogEnding {
    const char* name;
    std::wstring userName;
    std::wstring organization;
    DialogAction action;
    bool registers;
};

void PrintTo(const DialogEnding& row, std::ostream* out) {
    *out << row.name;
}

class DialogEndsRunTest : public ProgramTest, public ::testing::WithParamInterface<DialogEnding> {};

// Register and Cancel end the run at once: the licence window is shown, the termination request
// waiting behind the dialog's close is taken, and no input is awaited.
TEST_P(DialogEndsRunTest, EndsWithoutFurtherInput) {
    const DialogEnding& row = GetParam();
    FocusRecorder focus;
    ASSERT_TRUE(focus.Active()) << "cannot watch the focus";
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    const auto hidden = HiddenLicenceWindow();
    ASSERT_TRUE(hidden);
    if (!row.userName.empty()) {
        ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, row.userName, row.userName));
    }
    if (!row.organization.empty()) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, dialog.organization));
        ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.organization, row.organization, row.organization));
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(ShiftTab, dialog.name));
    }

    ASSERT_TRUE(row.action(dialog));

    ASSERT_NO_FATAL_FAILURE(ExpectExit(row.registers ? 0 : 1));
    // Only a shown, activated licence window puts the focus on "I agree".
    EXPECT_TRUE(focus.WaitForFocusOn(hidden->agreeButton)) << "the licence window was never shown";
    if (row.registers) {
        EXPECT_EQ(StoredBytes(L"Name"), StringData(row.userName));
        EXPECT_EQ(StoredBytes(L"Organization"), StringData(row.organization));
    } else {
        EXPECT_EQ(RecordKey::ValueCount(), 0u) << "Cancel stored something";
    }
}

INSTANTIATE_TEST_SUITE_P(
    , DialogEndsRunTest,
    ::testing::Values(
        DialogEnding{"EnterInNameBox", L"Ada Lovelace", L"", Keys({Enter}), true},
        DialogEnding{"EnterInOrganizationBox", L"Ada Lovelace", L"Analytical Engines Ltd",
                     Keys({Tab, Enter}), true},
        DialogEnding{"AltR", L"Ada Lovelace", L"Analytical Engines Ltd", Keys({Letter('R', true)}), true},
        DialogEnding{"EnterOnRegister", L"Ada", L"", Keys({Tab, Tab, Enter}), true},
        DialogEnding{"ROnRegister", L"Ada", L"", Keys({Tab, Tab, Letter('R')}), true},
        DialogEnding{"ROnCancel", L"Ada", L"", Keys({Tab, Tab, Tab, Letter('R')}), true},
        DialogEnding{"ClickRegister", L"Ada", L"Engines", ClickOn(&RegistrationDialog::registerButton), true},
        DialogEnding{"EscapeAtOnce", L"", L"", Keys({Esc}), false},
        DialogEnding{"EscapeAfterTyping", L"Ada", L"Engines", Keys({Esc}), false},
        DialogEnding{"EscapeOnRegister", L"Ada", L"", Keys({Tab, Tab, Esc}), false},
        DialogEnding{"EnterOnCancel", L"Ada", L"", Keys({Tab, Tab, Tab, Enter}), false},
        // A disabled Register is not in the tab order: the second Tab reaches Cancel.
        DialogEnding{"EnterOnCancelWithRegisterDisabled", L"", L"", Keys({Tab, Tab, Enter}), false},
        DialogEnding{"ClickCancel", L"Ada", L"", ClickOn(&RegistrationDialog::cancelButton), false}),
    [](const auto& info) { return std::string(info.param.name); });

// The dialog closed by its frame: no termination request, so the licence window stays until
// the user ends the run there.
using LicenceAction = std::function<bool(const LicenceWindow&)>;

struct FrameClose {
    const char* name;
    std::function<bool(HWND dialog)> closeDialog;
    LicenceAction endRun;
};

void PrintTo(const FrameClose& row, std::ostream* out) {
    *out << row.name;
}

bool CloseByCloseBox(HWND window) {
    const auto point = CloseBoxPoint(window);
    return point && ClickAt(window, *point);
}

bool CloseByAltF4(HWND window) {
    return Press(window, AltF4);
}

LicenceAction LicenceKeys(std::initializer_list<Key> keys) {
    std::vector<Key> list(keys);
    return [list](const LicenceWindow& window) {
        for (const Key& key : list) {
            if (!Press(window.window, key)) return false;
        }
        return true;
    };
}

class FrameCloseTest : public ProgramTest, public ::testing::WithParamInterface<FrameClose> {};

TEST_P(FrameCloseTest, LicenceWindowWaitsForTheUser) {
    const FrameClose& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"Ada", L"Ada"));

    ASSERT_TRUE(row.closeDialog(dialog.window));

    ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
    EXPECT_FALSE(::IsWindowVisible(dialog.window));
    // Still there and taking keys: Tab and back again move the focus between the buttons.
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, licence.cancelButton));
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(ShiftTab, licence.agreeButton));
    ExpectStillWaiting(licence.window);

    ASSERT_TRUE(row.endRun(licence));

    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
    EXPECT_EQ(RecordKey::ValueCount(), 0u) << "closing the dialog stored something";
}

INSTANTIATE_TEST_SUITE_P(
    , FrameCloseTest,
    ::testing::Values(
        FrameClose{"AltF4ThenEnterOnIAgree", CloseByAltF4, LicenceKeys({Enter})},
        FrameClose{"AltF4ThenSpaceOnIAgree", CloseByAltF4, LicenceKeys({Key{VK_SPACE}})},
        FrameClose{"AltF4ThenClickIAgree", CloseByAltF4, [](const LicenceWindow& w) { return Click(w.agreeButton); }},
        FrameClose{"AltF4ThenAltC", CloseByAltF4, LicenceKeys({Letter('C', true)})},
        FrameClose{"AltF4ThenCOnIAgree", CloseByAltF4, LicenceKeys({Letter('C')})},
        FrameClose{"AltF4ThenEnterOnCancel", CloseByAltF4, LicenceKeys({Tab, Enter})},
        FrameClose{"AltF4ThenAltF4", CloseByAltF4, LicenceKeys({AltF4})},
        FrameClose{"CloseBoxThenEnter", CloseByCloseBox, LicenceKeys({Enter})},
        FrameClose{"CloseBoxThenCloseBox", CloseByCloseBox,
                   [](const LicenceWindow& w) { return CloseByCloseBox(w.window); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Register when the record cannot be written: the failure is reported, the run does not count
// as registered, and the licence window waits as after a close by the frame.
class RegisterFailsTest : public ProgramTest {
protected:
    void ExpectOpenForWritingFailure() {
        const auto box = WaitForMessageBox(*program);
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(box->caption, ApplicationTitle);
        EXPECT_EQ(box->text, ErrorBoxText(L"Failed to open key 'SOFTWARE\\Tessarin\\Quorvel' for writing: " +
                                          SystemErrorText(ERROR_ACCESS_DENIED)));
        EXPECT_EQ(box->owner, program->TopLevelWindow(ApplicationClass, false));
        ASSERT_TRUE(DismissMessageBox(box->window));
        ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
        EXPECT_FALSE(::IsWindowVisible(dialog.window));
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, licence.cancelButton));
        ExpectStillWaiting(licence.window);
    }
};

TEST_F(RegisterFailsTest, ReadOnlyRecordIsReportedAndLeftAsItWas) {
    ASSERT_TRUE(RecordKey::SetString(L"Name", L"Ada"));
    ASSERT_TRUE(RecordKey::SetString(L"Organization", L"Engines"));
    ASSERT_TRUE(RecordKey::MakeReadOnly());
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_TRUE(Press(dialog.name, End));
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L" Byron", L"Ada Byron"));

    ASSERT_TRUE(Press(dialog.window, Enter));

    ASSERT_NO_FATAL_FAILURE(ExpectOpenForWritingFailure());
    ASSERT_TRUE(Press(licence.window, Letter('C', true)));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
    EXPECT_EQ(StoredBytes(L"Name"), StringData(L"Ada"));
    EXPECT_EQ(StoredBytes(L"Organization"), StringData(L"Engines"));
}

// The key the program created at start-up is taken out of reach before Register.
TEST_F(RegisterFailsTest, KeyMadeReadOnlyWhileTheDialogIsUp) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_TRUE(RecordKey::Exists());
    ASSERT_TRUE(RecordKey::MakeReadOnly());
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"Ada", L"Ada"));

    ASSERT_TRUE(Press(dialog.window, Letter('R', true)));

    ASSERT_NO_FATAL_FAILURE(ExpectOpenForWritingFailure());
    ASSERT_TRUE(Press(licence.window, Enter));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
    EXPECT_EQ(RecordKey::ValueCount(), 0u);
}

} // namespace
} // namespace e2e
