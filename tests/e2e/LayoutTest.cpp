// How the program's windows look: classes, captions, texts, styles, sizes and control bounds at
// the DPI the windows are drawn at, and which window owns which.
#include "ProgramTest.h"

#include <vector>

namespace e2e {
namespace {

enum class Sizing {
    Fixed,
    // A wrapped label keeps its width and grows downwards when its font needs more lines.
    TallerToFit,
    // An auto-sized label keeps only its position.
    ToText,
};

struct ControlLayout {
    const wchar_t* className;
    std::wstring text;
    RECT bounds;  // left, top, width, height at 96 DPI
    Sizing sizing;
};

void ExpectControls(HWND window, const std::vector<ControlLayout>& expected) {
    const auto children = Children(window);
    ASSERT_EQ(children.size(), expected.size());
    const int dpi = WindowDpi(window);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ControlLayout& control = expected[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + Narrow(control.text) + "\"");
        EXPECT_EQ(ClassName(children[i]), control.className);
        EXPECT_EQ(Text(children[i]), control.text);
        const RECT bounds = BoundsInParent(children[i]);
        EXPECT_EQ(bounds.left, Scale(control.bounds.left, dpi));
        EXPECT_EQ(bounds.top, Scale(control.bounds.top, dpi));
        if (control.sizing != Sizing::ToText) {
            EXPECT_EQ(bounds.right, Scale(control.bounds.right, dpi));
        }
        if (control.sizing == Sizing::Fixed) {
            EXPECT_EQ(bounds.bottom, Scale(control.bounds.bottom, dpi));
        } else if (control.sizing == Sizing::TallerToFit) {
            EXPECT_GE(bounds.bottom, Scale(control.bounds.bottom, dpi));
        }
    }
}

void ExpectCentredOnScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(rect.left, (screenWidth - (rect.right - rect.left)) / 2, 1);
    EXPECT_NEAR(rect.top, (screenHeight - (rect.bottom - rect.top)) / 2, 1);
}

LONG Style(HWND window) {
    return ::GetWindowLongW(window, GWL_STYLE);
}

using LayoutTest = ProgramTest;

TEST_F(LayoutTest, ApplicationWindowCarriesTheTitleAndOwnsTheForms) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    HWND application = program->TopLevelWindow(ApplicationClass, false);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(Text(application), ApplicationTitle);
    const SIZE size = OuterSize(application);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    EXPECT_EQ(::GetWindow(dialog.window, GW_OWNER), application);
    ASSERT_TRUE(HiddenLicenceWindow());
    EXPECT_EQ(::GetWindow(HiddenLicenceWindow()->window, GW_OWNER), application);
}

TEST_F(LayoutTest, RegistrationDialog) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    const int dpi = WindowDpi(dialog.window);
    EXPECT_EQ(Text(dialog.window), DialogCaption);
    const SIZE outer = OuterSize(dialog.window);
    EXPECT_EQ(outer.cx, Scale(366, dpi));
    EXPECT_EQ(outer.cy, Scale(219, dpi));
    ExpectCentredOnScreen(dialog.window);
    EXPECT_EQ(Style(dialog.window) & WS_THICKFRAME, WS_THICKFRAME) << "not sizeable";
    EXPECT_EQ(Style(dialog.window) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_MINIMIZEBOX | WS_MAXIMIZEBOX);

    ExpectControls(dialog.window,
                   {
                       {L"Static",
                        L"Please register your copy of Quorvel Evaluation Edition. Fill in your name, your organization "
                        L"name (if applicable) and then click on Register.",
                        {8, 8, 345, 26}, Sizing::TallerToFit},
                       {L"Static", L"&Name", {8, 48, 28, 13}, Sizing::ToText},
                       {L"Edit", L"", {8, 64, 345, 21}, Sizing::Fixed},
                       {L"Static", L"&Organization", {8, 96, 59, 13}, Sizing::ToText},
                       {L"Edit", L"", {8, 112, 345, 21}, Sizing::Fixed},
                       {L"Button", L"&Register", {69, 152, 107, 25}, Sizing::Fixed},
                       {L"Button", L"Cancel", {182, 152, 107, 25}, Sizing::Fixed},
                   });
    const RECT prompt = BoundsInParent(dialog.prompt);
    EXPECT_LE(prompt.top + prompt.bottom, BoundsInParent(dialog.nameLabel).top) << "the prompt runs into \"Name\"";
    EXPECT_EQ(Style(dialog.registerButton) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(Style(dialog.cancelButton) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(LayoutTest, LicenceWindow) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_TRUE(Press(dialog.window, AltF4));
    ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
    const int dpi = WindowDpi(licence.window);
    EXPECT_EQ(Text(licence.window), ApplicationTitle);
    const SIZE client = ClientSize(licence.window);
    EXPECT_EQ(client.cx, Scale(472, dpi));
    EXPECT_EQ(client.cy, Scale(254, dpi));
    ExpectCentredOnScreen(licence.window);
    EXPECT_EQ(Style(licence.window) & WS_THICKFRAME, 0) << "a dialog frame has a fixed size";
    EXPECT_EQ(Style(licence.window) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << "close box only";

    ExpectControls(licence.window,
                   {
                       {L"Edit", Widen(DefaultLicence), {8, 8, 457, 185}, Sizing::Fixed},
                       {L"Static",
                        L"To continue with this installation, you must agree to all terms of this licence agreement",
                        {8, 200, 402, 13}, Sizing::ToText},
                       {L"Button", L"I agree", {152, 224, 78, 25}, Sizing::Fixed},
                       {L"Button", L"&Cancel", {241, 224, 78, 25}, Sizing::Fixed},
                   });
    const LONG memo = Style(licence.text);
    EXPECT_EQ(memo & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    EXPECT_EQ(memo & (WS_HSCROLL | ES_AUTOHSCROLL), 0) << "lines should wrap at the box's width";
    EXPECT_EQ(Style(licence.agreeButton) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "\"I agree\" is the default button";
    ASSERT_TRUE(Press(licence.window, Enter));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

} // namespace
} // namespace e2e
