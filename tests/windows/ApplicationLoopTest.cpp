// The modal loop, the main loop, the termination request and the form factory.
#include "TestForms.h"
#include "TestSupport.h"

#include "Exception.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::MessageBoxWatcher;

namespace {

class ApplicationLoop : public ::testing::Test {
protected:
    void SetUp() override {
        Events.clear();
        MainCreateHook = nullptr;
        Application.Initialize();
        Application.SetTitle(u"Loop Test");
    }
    void TearDown() override {
        Application.Reset();
        mainTestForm = nullptr;
        dialogTestForm = nullptr;
        MainCreateHook = nullptr;
    }
    void CreateBoth() {
        Application.CreateForm(mainTestForm);
        Application.CreateForm(dialogTestForm);
    }
    // A click as the button reports it: queued, handled when a loop takes it.
    static void PostClick(TForm& form, TControl& button) {
        ::PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button.Handle()));
    }
};

TEST_F(ApplicationLoop, FormFactoryCreatesInOrderAndTheFirstFormIsMain) {
    CreateBoth();
    // Each creation handler already sees its global reference.
    EXPECT_EQ(Events, (std::vector<std::string>{"main.create", "dialog.create"}));
    EXPECT_EQ(Application.MainForm(), mainTestForm);
    EXPECT_FALSE(mainTestForm->Visible());
    EXPECT_FALSE(dialogTestForm->Visible());
}

TEST_F(ApplicationLoop, ErrorInCreationHandlerIsShownAndTheNextFormIsStillCreated) {
    MessageBoxWatcher boxes;
    MainCreateHook = [] { throw Exception(u"Cannot open file license.txt"); };
    CreateBoth();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, u"Cannot open file license.txt.");
    EXPECT_EQ(boxes.Boxes()[0].caption, u"Loop Test");
    EXPECT_EQ(Events, (std::vector<std::string>{"main.create", "dialog.create"}));
    EXPECT_EQ(Application.MainForm(), mainTestForm);
}

TEST_F(ApplicationLoop, ModalLoopEndsByModalResultBeforeTheRequestQueuedInTheSameClick) {
    CreateBoth();
    bool mainEnabledDuringModal = true;
    dialogTestForm->onOk = [&] { mainEnabledDuringModal = ::IsWindowEnabled(mainTestForm->Handle()) != FALSE; };
    PostClick(*dialogTestForm, *dialogTestForm->okButton);

    EXPECT_EQ(dialogTestForm->ShowModal(), ModalResult::Ok);
    EXPECT_FALSE(Application.Terminated()) << "the request must wait in the queue for the main loop";
    EXPECT_FALSE(dialogTestForm->Visible());
    EXPECT_FALSE(mainEnabledDuringModal) << "the other forms are disabled while the dialog is modal";
    EXPECT_TRUE(::IsWindowEnabled(mainTestForm->Handle()));

    // The main loop shows the main form, takes the waiting request and ends without input.
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(mainTestForm->Visible());
    EXPECT_EQ(Events, (std::vector<std::string>{"main.create", "dialog.create", "dialog.ok"}));
}

TEST_F(ApplicationLoop, RequestTakenByTheModalLoopGivesCancel) {
    CreateBoth();
    Application.Terminate();
    EXPECT_EQ(dialogTestForm->ShowModal(), ModalResult::Cancel);
    EXPECT_TRUE(Application.Terminated());
    EXPECT_FALSE(dialogTestForm->Visible());
}

TEST_F(ApplicationLoop, MainLoopShowsTheMainFormAlthoughTheRequestIsWaiting) {
    CreateBoth();
    Application.Terminate();
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_TRUE(mainTestForm->Visible());
}

TEST_F(ApplicationLoop, CloseBoxGivesCancelAndTheMainLoopThenWaitsForTheUser) {
    for (const UINT closing : {UINT(WM_CLOSE), UINT(WM_SYSCOMMAND)}) {
        SCOPED_TRACE(closing == WM_CLOSE ? "WM_CLOSE" : "SC_CLOSE");
        Events.clear();
        CreateBoth();
        if (closing == WM_CLOSE) {
            ::PostMessageW(dialogTestForm->Handle(), WM_CLOSE, 0, 0);
        } else {
            ::PostMessageW(dialogTestForm->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        EXPECT_EQ(dialogTestForm->ShowModal(), ModalResult::Cancel);
        EXPECT_FALSE(Application.Terminated());
        // Nothing ends the main loop but the user's own click on the main form.
        PostClick(*mainTestForm, *mainTestForm->closeButton);
        Application.Run();
        EXPECT_EQ(Events, (std::vector<std::string>{"main.create", "dialog.create", "main.close"}));
        Application.Reset();
        Application.Initialize();
    }
}

TEST_F(ApplicationLoop, ClosingTheMainFormRequestsTermination) {
    CreateBoth();
    ::PostMessageW(mainTestForm->Handle(), WM_CLOSE, 0, 0);
    Application.Run();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_EQ(Events, (std::vector<std::string>{"main.create", "dialog.create"}));
}

TEST_F(ApplicationLoop, ErrorInAClickHandlerIsShownAndTheLoopGoesOn) {
    MessageBoxWatcher boxes;
    CreateBoth();
    dialogTestForm->onOk = [] { throw ERegistryException(u"Failed to set data for 'Name'"); };
    PostClick(*dialogTestForm, *dialogTestForm->okButton);
    // The handler fails before its termination request: the dialog closes by its result alone.
    EXPECT_EQ(dialogTestForm->ShowModal(), ModalResult::Ok);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, u"Failed to set data for 'Name'");
    EXPECT_EQ(boxes.Boxes()[0].owner, Application.Handle());
    PostClick(*mainTestForm, *mainTestForm->closeButton);
    Application.Run();
    EXPECT_EQ(Events.back(), "main.close");
}

TEST_F(ApplicationLoop, ApplicationWindowCarriesTheTitle) {
    Application.SetTitle(u"Quorvel Evaluation Edition Setup");
    EXPECT_EQ(testing_support::WindowText(Application.Handle()), u"Quorvel Evaluation Edition Setup");
    CreateBoth();
    EXPECT_EQ(::GetWindow(mainTestForm->Handle(), GW_OWNER), Application.Handle());
    EXPECT_EQ(::GetWindow(dialogTestForm->Handle(), GW_OWNER), Application.Handle());
}

} // namespace
