// The two windows laid out at 96 DPI as designed, and scaled at 144 DPI.
#include "TestSupport.h"

#include "Application.h"
#include "Dpi.h"
#include "licence.h"
#include "registration.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.left << ", " << box.top << ", " << box.width << ", " << box.height << ")";
}

Box ChildBox(HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Box Scaled(const Bounds& b, int dpi) {
    return {ScaleToDpi(b.left, dpi), ScaleToDpi(b.top, dpi), ScaleToDpi(b.width, dpi), ScaleToDpi(b.height, dpi)};
}

int FontHeight(HFONT font) {
    LOGFONTW log{};
    ::GetObjectW(font, sizeof log, &log);
    return log.lfHeight;
}

class Layout : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        directory.WriteFile(L"license.txt", "Terms.\r\n");
        Application.Initialize();
        Application.SetTitle(u"Quorvel Evaluation Edition Setup");
        Application.CreateForm(ABox);
        Application.CreateForm(registerForm);
    }
    void TearDown() override {
        Application.Reset();
        ABox = nullptr;
        registerForm = nullptr;
    }
    testing_support::ScratchDirectory directory;
};

void ExpectControlsAt(const TForm& form, int dpi) {
    for (const auto& control : form.Controls()) {
        const ControlDescription& d = control->Description();
        SCOPED_TRACE(std::string(d.name.begin(), d.name.end()));
        const Box actual = ChildBox(control->Handle());
        const Box expected = Scaled(d.bounds, dpi);
        if (d.kind == ControlKind::Label && !d.autoSize && d.wordWrap) {
            // Fixed width; taller than designed only where the font needs it.
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.width, expected.width);
            EXPECT_GE(actual.height, expected.height);
        } else if (d.kind == ControlKind::Label && d.autoSize) {
            // Auto-sized: placed as designed, sized by its text.
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_GT(actual.width, 0);
        } else {
            EXPECT_EQ(actual, expected);
        }
    }
}

TEST_P(Layout, WindowsAndControlsScaleFromTheDesign) {
    const int dpi = GetParam();
    registerForm->ScaleTo(dpi);
    ABox->ScaleTo(dpi);

    RECT outer;
    ::GetWindowRect(registerForm->Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, ScaleToDpi(366, dpi));
    EXPECT_EQ(outer.bottom - outer.top, ScaleToDpi(219, dpi));
    RECT client;
    ::GetClientRect(ABox->Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(472, dpi));
    EXPECT_EQ(client.bottom, ScaleToDpi(254, dpi));

    ExpectControlsAt(*registerForm, dpi);
    ExpectControlsAt(*ABox, dpi);
    // 8 points: 11 pixels at 96 DPI, 16 at 144.
    EXPECT_EQ(FontHeight(registerForm->Font()), -MulDivRound(8, dpi, 72));
    EXPECT_EQ(FontHeight(ABox->Font()), -MulDivRound(8, dpi, 72));
    const auto controlFont = reinterpret_cast<HFONT>(::SendMessageW(registerForm->eUserName->Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(controlFont, registerForm->Font());
}

// As created: the creation handler has just put the product's name into the prompt.
TEST_F(Layout, ThePromptShowsAllOfItsText) {
    HWND prompt = registerForm->promptText->Handle();
    RECT box;
    ::GetClientRect(prompt, &box);
    HDC dc = ::GetDC(prompt);
    HGDIOBJ old = ::SelectObject(dc, registerForm->Font());
    const std::u16string text = registerForm->promptText->Caption();
    RECT needed{0, 0, box.right, 0};
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), -1, &needed, DT_CALCRECT | DT_WORDBREAK);
    ::SelectObject(dc, old);
    ::ReleaseDC(prompt, dc);
    EXPECT_LE(needed.bottom, box.bottom) << "the last line of the prompt is cut off";
    // It still ends above the next control.
    EXPECT_LE(ChildBox(prompt).top + box.bottom, ChildBox(registerForm->nameLabel->Handle()).top);
}

INSTANTIATE_TEST_SUITE_P(Dpi, Layout, ::testing::Values(96, 144), [](const auto& info) {
    return "At" + std::to_string(info.param);
});

TEST_F(Layout, ShownCentredOnTheScreen) {
    registerForm->Show();
    RECT rect;
    ::GetWindowRect(registerForm->Handle(), &rect);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((rect.left + rect.right) / 2 - screenWidth / 2), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - screenHeight / 2), 1);
}

} // namespace
