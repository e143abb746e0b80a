// The keyboard in both windows: where the focus starts and goes, which keys press a button, and
// the keys that must do nothing.
#include "ProgramTest.h"

#include <vector>

namespace e2e {
namespace {

enum class Box { Name, Organization };

struct IgnoredDialogKeys {
    const char* name;
    Box focus;
    std::vector<Key> keys;
};

void PrintTo(const IgnoredDialogKeys& row, std::ostream* out) {
    *out << row.name;
}

class IgnoredDialogKeysTest : public ProgramTest, public ::testing::WithParamInterface<IgnoredDialogKeys> {};

// With no name typed, Register is disabled; these keys then neither end the run nor move the
// focus: what is typed next lands in the same box.
TEST_P(IgnoredDialogKeysTest, RunGoesOnInTheSameBox) {
    const IgnoredDialogKeys& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    HWND box = row.focus == Box::Name ? dialog.name : dialog.organization;
    if (row.focus == Box::Organization) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, dialog.organization));
    }

    for (const Key& key : row.keys) ASSERT_TRUE(Press(dialog.window, key));

    // Keys are handled in order: once "z" is in the box, the keys before it have been too.
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(box, L"z", L"z"));
    EXPECT_EQ(program->FocusedWindow(), box);
    ExpectStillWaiting(dialog.window);
    EXPECT_FALSE(::IsIconic(dialog.window));
    EXPECT_EQ(RecordKey::ValueCount(), 0u);
    ASSERT_TRUE(Press(dialog.window, Esc));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

INSTANTIATE_TEST_SUITE_P(
    , IgnoredDialogKeysTest,
    ::testing::Values(IgnoredDialogKeys{"EnterInNameBoxWithRegisterDisabled", Box::Name, {Enter}},
                      IgnoredDialogKeys{"EnterInOrganizationBoxWithRegisterDisabled", Box::Organization, {Enter}},
                      IgnoredDialogKeys{"AltRWithRegisterDisabled", Box::Name, {Letter('R', true)}},
                      // The labels show accelerators that are linked to no box.
                      IgnoredDialogKeys{"AltNInNameBox", Box::Name, {Letter('N', true)}},
                      IgnoredDialogKeys{"AltOInNameBox", Box::Name, {Letter('O', true)}},
                      IgnoredDialogKeys{"AltNInOrganizationBox", Box::Organization, {Letter('N', true)}},
                      IgnoredDialogKeys{"AltOInOrganizationBox", Box::Organization, {Letter('O', true)}}),
    [](const auto& info) { return std::string(info.param.name); });

using DialogKeysTest = ProgramTest;

TEST_F(DialogKeysTest, FocusStartsInNameBoxWithRegisterDisabled) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    EXPECT_EQ(program->FocusedWindow(), dialog.name);
    EXPECT_FALSE(::IsWindowEnabled(dialog.registerButton));
    EXPECT_TRUE(::IsWindowEnabled(dialog.cancelButton));
}

TEST_F(DialogKeysTest, TabOrderIsNameOrganizationRegisterCancel) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"Ada", L"Ada"));
    for (HWND next : {dialog.organization, dialog.registerButton, dialog.cancelButton, dialog.name}) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, next));
    }
    for (HWND previous : {dialog.cancelButton, dialog.registerButton, dialog.organization, dialog.name}) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(ShiftTab, previous));
    }
}

TEST_F(DialogKeysTest, TabSkipsDisabledRegister) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    for (HWND next : {dialog.organization, dialog.cancelButton, dialog.name}) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, next));
    }
}

// Register follows the name box alone: the organisation box does not count.
TEST_F(DialogKeysTest, EmptyingTheNameDisablesRegister) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"A", L"A"));
    EXPECT_TRUE(::IsWindowEnabled(dialog.registerButton));
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, dialog.organization));
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.organization, L"Engines", L"Engines"));
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(ShiftTab, dialog.name));

    ASSERT_TRUE(Press(dialog.name, Backspace));

    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(dialog.registerButton); })) << "Register stays enabled";
    EXPECT_EQ(Text(dialog.name), L"");
    // Enter now does nothing; one character enables Register again.
    ASSERT_TRUE(Press(dialog.name, Enter));
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"B", L"B"));
    EXPECT_TRUE(::IsWindowEnabled(dialog.registerButton));
    ExpectStillWaiting(dialog.window);
    ASSERT_TRUE(Press(dialog.window, Esc));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

// Typed into a box, R is text, not Register.
TEST_F(DialogKeysTest, RInABoxIsText) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"Ada", L"Ada"));
    ASSERT_TRUE(Press(dialog.name, Letter('R')));
    ASSERT_TRUE(WaitUntil([&] { return Text(dialog.name) == L"Adar"; }));
    ExpectStillWaiting(dialog.window);
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, dialog.organization));
    ASSERT_TRUE(Press(dialog.organization, Letter('R')));
    ASSERT_TRUE(WaitUntil([&] { return Text(dialog.organization) == L"r"; }));
    ExpectStillWaiting(dialog.window);
    EXPECT_EQ(RecordKey::ValueCount(), 0u);
    ASSERT_TRUE(Press(dialog.window, Esc));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

struct IgnoredLicenceKeys {
    const char* name;
    bool inText;
    std::vector<Key> keys;
};

void PrintTo(const IgnoredLicenceKeys& row, std::ostream* out) {
    *out << row.name;
}

class IgnoredLicenceKeysTest : public ProgramTest, public ::testing::WithParamInterface<IgnoredLicenceKeys> {};

TEST_P(IgnoredLicenceKeysTest, RunGoesOn) {
    const IgnoredLicenceKeys& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_TRUE(Press(dialog.window, AltF4));
    ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
    const auto text = Text(licence.text);
    if (row.inText) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(ShiftTab, licence.text));
    }

    for (const Key& key : row.keys) ASSERT_TRUE(Press(licence.window, key));

    // Handled in order: once Tab has moved the focus, the keys before it have been handled.
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, row.inText ? licence.agreeButton : licence.cancelButton));
    ExpectStillWaiting(licence.window);
    EXPECT_EQ(Text(licence.text), text);
    ASSERT_TRUE(Press(licence.window, Letter('C', true)));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

INSTANTIATE_TEST_SUITE_P(
    , IgnoredLicenceKeysTest,
    ::testing::Values(IgnoredLicenceKeys{"EscapeOnIAgree", false, {Esc}},
                      IgnoredLicenceKeys{"EscapeInText", true, {Esc}},
                      IgnoredLicenceKeys{"EnterInText", true, {Enter}},
                      // A letter is an accelerator only while a button has the focus.
                      IgnoredLicenceKeys{"CInText", true, {Letter('C')}},
                      IgnoredLicenceKeys{"TypingInReadOnlyText", true, {Letter('X'), Backspace}}),
    [](const auto& info) { return std::string(info.param.name); });

using LicenceKeysTest = ProgramTest;

TEST_F(LicenceKeysTest, FocusStartsOnIAgreeAndTabsThroughTextAndButtons) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_TRUE(Press(dialog.window, AltF4));
    ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
    EXPECT_EQ(program->FocusedWindow(), licence.agreeButton);
    for (HWND next : {licence.cancelButton, licence.text, licence.agreeButton}) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, next));
    }
}

} // namespace
} // namespace e2e
