// The program's two windows in-process: their texts, frames and bound controls.
#include "TestSupport.h"

#include "Application.h"
#include "licence.h"
#include "registration.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::MessageBoxWatcher;
using testing_support::WindowText;

namespace {

class ProgramForms : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetTitle(u"Quorvel Evaluation Edition Setup");
    }
    void TearDown() override {
        Application.Reset();
        ABox = nullptr;
        registerForm = nullptr;
    }
    testing_support::ScratchDirectory directory;
};

TEST_F(ProgramForms, RegistrationDialogTextsAndFrame) {
    directory.WriteFile(L"license.txt", "");
    Application.CreateForm(ABox);
    Application.CreateForm(registerForm);
    EXPECT_EQ(registerForm->Caption(), u"Please Register Quorvel Evaluation Edition");
    EXPECT_EQ(registerForm->promptText->Caption(),
              u"Please register your copy of Quorvel Evaluation Edition. Fill in your name, your organization name "
              u"(if applicable) and then click on Register.");
    EXPECT_EQ(registerForm->registerOk->Caption(), u"&Register");
    EXPECT_EQ(registerForm->cancelButton->Caption(), u"Cancel");
    const LONG style = ::GetWindowLongW(registerForm->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    // The label before each box gives it its accessible name.
    EXPECT_EQ(::GetWindow(registerForm->eUserName->Handle(), GW_HWNDPREV), registerForm->nameLabel->Handle());
    EXPECT_EQ(::GetWindow(registerForm->eOrganizationName->Handle(), GW_HWNDPREV),
              registerForm->organizationLabel->Handle());
    EXPECT_NE(reinterpret_cast<HICON>(::GetClassLongPtrW(registerForm->Handle(), GCLP_HICON)), nullptr);
}

TEST_F(ProgramForms, LicenceWindowTakesTheTitleAndTheFile) {
    directory.WriteFile(L"license.txt", "First\nSecond\r\n\n\rLast");
    Application.CreateForm(ABox);
    EXPECT_EQ(ABox->Caption(), u"Quorvel Evaluation Edition Setup");
    EXPECT_EQ(ABox->Memo1->Text(), u"First\r\nSecond\r\n\r\n\r\nLast");
    const LONG style = ::GetWindowLongW(ABox->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(Application.MainForm(), ABox);
}

TEST_F(ProgramForms, MissingLicenceIsReportedAndTheWindowKeepsItsDesign) {
    MessageBoxWatcher boxes;
    Application.CreateForm(ABox);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, u"Cannot open file license.txt.");
    EXPECT_EQ(boxes.Boxes()[0].caption, u"Quorvel Evaluation Edition Setup");
    EXPECT_EQ(ABox->Caption(), u"Licence");
    EXPECT_EQ(ABox->Memo1->Text(), u"Please read the file LICENCE.TXT that comes with your package");
}

TEST_F(ProgramForms, LicenceFarBeyondTheEditDefaultLimitIsShownWhole) {
    std::string text;
    while (text.size() < 200000) text += "All rights reserved. No warranty of any kind.\r\n";
    directory.WriteFile(L"license.txt", text);
    Application.CreateForm(ABox);
    EXPECT_EQ(static_cast<std::size_t>(::GetWindowTextLengthW(ABox->Memo1->Handle())), text.size());
}

} // namespace
