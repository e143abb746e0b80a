// Keys against focus and enabled states, through real keyboard input and our own dispatch.
#include "TestForms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Key {
    WORD key = 0;
    bool shift = false;
    bool alt = false;
    char16_t text = 0;  // typed as a character instead of a virtual key
};

Key Vk(WORD key) { return {key}; }
Key Shift(WORD key) { return {key, true}; }
Key Alt(WORD key) { return {key, false, true}; }
Key Char(char16_t c) { return {0, false, false, c}; }

struct KeyCase {
    const char* name;
    const char* focusFirst;  // control that has the focus before the keys
    bool okEnabled;
    std::vector<Key> keys;
    std::vector<std::string> pressed;  // click handlers run, in order
    const char* focusAfter;
    std::u16string firstEditText;
};

const KeyCase KeyCases[] = {
    {"EnterInBoxPressesEnabledDefault", "firstEdit", true, {Vk(VK_RETURN)}, {"ok"}, "firstEdit", u""},
    {"EnterInBoxWithDefaultDisabledDoesNothing", "firstEdit", false, {Vk(VK_RETURN)}, {}, "firstEdit", u""},
    {"EnterOnFocusedCancelPressesCancel", "cancelButton", true, {Vk(VK_RETURN)}, {"cancel"}, "cancelButton", u""},
    {"EnterOnFocusedPlainButtonPressesIt", "goButton", true, {Vk(VK_RETURN)}, {"go"}, "goButton", u""},
    {"EscInBoxPressesCancel", "secondEdit", true, {Vk(VK_ESCAPE)}, {"cancel"}, "secondEdit", u""},
    {"EscOnDefaultButtonPressesCancel", "okButton", true, {Vk(VK_ESCAPE)}, {"cancel"}, "okButton", u""},
    {"AltAcceleratorPressesEnabledButton", "firstEdit", true, {Alt('R')}, {"ok"}, "firstEdit", u""},
    {"AltAcceleratorOfDisabledButtonDoesNothing", "firstEdit", false, {Alt('R')}, {}, "firstEdit", u""},
    {"AltAcceleratorOfPlainButton", "secondEdit", true, {Alt('G')}, {"go"}, "secondEdit", u""},
    {"LetterAloneOnAButtonPressesTheAccelerator", "cancelButton", true, {Char(u'r')}, {"ok"}, "cancelButton", u""},
    {"LetterAloneOnAButtonIgnoresCase", "goButton", true, {Char(u'G')}, {"go"}, "goButton", u""},
    {"LetterInABoxIsText", "firstEdit", true, {Char(u'r')}, {}, "firstEdit", u"r"},
    {"UnlinkedLabelAcceleratorMovesNoFocus", "secondEdit", true, {Alt('N')}, {}, "secondEdit", u""},
    {"LinkedLabelAcceleratorFocusesItsBox", "firstEdit", true, {Alt('L')}, {}, "secondEdit", u""},
    {"TabGoesThroughTheTabOrder", "firstEdit", true, {Vk(VK_TAB), Vk(VK_TAB)}, {}, "okButton", u""},
    {"TabSkipsTheDisabledButton", "secondEdit", false, {Vk(VK_TAB)}, {}, "cancelButton", u""},
    {"TabWrapsAround", "goButton", true, {Vk(VK_TAB)}, {}, "firstEdit", u""},
    {"ShiftTabGoesBack", "firstEdit", true, {Shift(VK_TAB)}, {}, "goButton", u""},
    {"SpaceOnAButtonPressesIt", "okButton", true, {Vk(VK_SPACE)}, {"ok"}, "okButton", u""},
};

// Test lists show the row's name, not its bytes.
void PrintTo(const KeyCase& row, std::ostream* out) {
    *out << row.name;
}

class KeyForm : public ::testing::Test {
protected:
    void SetUp() override {
        Events.clear();
        Application.Initialize();
        Application.CreateForm(form);
        form->Show();
        ASSERT_TRUE(PumpApplication([&] { return ::GetForegroundWindow() == form->Handle(); }))
            << "the test form did not come to the foreground";
        PumpApplication();
    }
    void TearDown() override {
        Application.Reset();
        form = nullptr;
    }
    TKeyTestForm* form = nullptr;
};

class KeyDispatch : public KeyForm, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyDispatch, Row) {
    const KeyCase& row = GetParam();
    form->okButton->SetEnabled(row.okEnabled);
    TControl* start = form->FindControl(std::u16string(row.focusFirst, row.focusFirst + strlen(row.focusFirst)));
    ASSERT_NE(start, nullptr);
    ::SetFocus(start->Handle());
    PumpApplication();
    ASSERT_EQ(form->FocusedControl(), start);
    Events.clear();

    for (const Key& key : row.keys) {
        if (key.text) {
            TypeText(std::u16string(1, key.text));
        } else {
            PressKey(key.key, key.shift, false, key.alt);
        }
        PumpApplication();
    }

    std::vector<std::string> clicks;
    for (const std::string& event : Events) {
        if (event.rfind("change:", 0) != 0) clicks.push_back(event);
    }
    EXPECT_EQ(clicks, row.pressed);
    ASSERT_NE(form->FocusedControl(), nullptr);
    EXPECT_EQ(form->FocusedControl()->Name(), std::u16string(row.focusAfter, row.focusAfter + strlen(row.focusAfter)));
    EXPECT_EQ(form->firstEdit->Text(), row.firstEditText);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyDispatch, ::testing::ValuesIn(KeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

class MemoKeys : public ::testing::Test {
protected:
    void SetUp() override {
        Events.clear();
        Application.Initialize();
        Application.CreateForm(form);
        form->Show();
        ASSERT_TRUE(PumpApplication([&] { return ::GetForegroundWindow() == form->Handle(); }));
        PumpApplication();
    }
    void TearDown() override {
        Application.Reset();
        form = nullptr;
    }
    TMemoTestForm* form = nullptr;
};

TEST_F(MemoKeys, FirstFocusIsTheDescribedControl) {
    ASSERT_NE(form->FocusedControl(), nullptr);
    EXPECT_EQ(form->FocusedControl(), form->agreeButton);
}

TEST_F(MemoKeys, TheMemoKeepsEnterAndEscAndTheFormHasNoCancelButton) {
    ::SetFocus(form->memo->Handle());
    PumpApplication();
    const std::u16string before = form->memo->Text();
    for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE)}) {
        PressKey(key);
        PumpApplication();
    }
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(form->memo->Text(), before) << "a read-only memo takes no text";
    EXPECT_EQ(form->FocusedControl(), form->memo);
    // Esc on a button: nothing, since no button is the cancel button.
    ::SetFocus(form->quitButton->Handle());
    PumpApplication();
    PressKey(VK_ESCAPE);
    PumpApplication();
    EXPECT_TRUE(Events.empty());
    // Tab leaves the memo: it does not keep Tab.
    ::SetFocus(form->memo->Handle());
    PressKey(VK_TAB);
    PumpApplication();
    EXPECT_EQ(form->FocusedControl(), form->agreeButton);
}

TEST_F(MemoKeys, EnterPressesTheFocusedButtonNotTheDefault) {
    ::SetFocus(form->quitButton->Handle());
    PumpApplication();
    PressKey(VK_RETURN);
    PumpApplication();
    EXPECT_EQ(Events, (std::vector<std::string>{"quit"}));
    PressKey('Q', false, false, true);
    PumpApplication();
    EXPECT_EQ(Events, (std::vector<std::string>{"quit", "quit"}));
}

TEST_F(MemoKeys, DefaultFrameFollowsTheFocus) {
    const auto isDefault = [](TControl* button) {
        return (::GetWindowLongW(button->Handle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
    };
    ::SetFocus(form->quitButton->Handle());
    PumpApplication();
    EXPECT_TRUE(isDefault(form->quitButton));
    EXPECT_FALSE(isDefault(form->agreeButton));
    ::SetFocus(form->memo->Handle());
    PumpApplication();
    EXPECT_TRUE(isDefault(form->agreeButton));
    EXPECT_FALSE(isDefault(form->quitButton));
}

// Change notifications: typed, set by code, and the same text set again.
TEST_F(KeyForm, ChangeRunsOnEveryEffectiveChangeOnly) {
    ::SetFocus(form->firstEdit->Handle());
    PumpApplication();
    Events.clear();
    TypeText(u"ab");
    PumpApplication();
    EXPECT_EQ(Events, (std::vector<std::string>{"change:a", "change:ab"}));
    Events.clear();
    form->firstEdit->SetText(u"ab");
    EXPECT_TRUE(Events.empty()) << "the same text is no change";
    form->firstEdit->SetText(u"xyz");
    EXPECT_EQ(Events, (std::vector<std::string>{"change:xyz"}));
    form->firstEdit->SetText(u"");
    EXPECT_EQ(Events, (std::vector<std::string>{"change:xyz", "change:"}));
    // Select all and type over it with the same letter: the box reports a change, the text is the same.
    form->firstEdit->SetText(u"q");
    Events.clear();
    ::SendMessageW(form->firstEdit->Handle(), EM_SETSEL, 0, -1);
    TypeText(u"q");
    PumpApplication();
    EXPECT_TRUE(Events.empty());
}

} // namespace
