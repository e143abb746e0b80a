#include "TestForms.h"

#include "Exception.h"

#include <chrono>

using namespace platform;

std::vector<std::string> Events;
std::function<void()> MainCreateHook;
TMainTestForm* mainTestForm = nullptr;
TDialogTestForm* dialogTestForm = nullptr;

const FormClass& TMainTestForm::Class() {
    static const FormClass formClass{u"TMAINTESTFORM",
                                     {Member(u"closeButton", &TMainTestForm::closeButton)},
                                     {Handler(u"FormCreate", &TMainTestForm::FormCreate),
                                      Handler(u"closeButtonClick", &TMainTestForm::closeButtonClick)}};
    return formClass;
}

void TMainTestForm::FormCreate(TObject*) {
    Events.push_back(mainTestForm == this ? "main.create" : "main.create-before-reference");
    if (MainCreateHook) MainCreateHook();
}

void TMainTestForm::closeButtonClick(TObject*) {
    Events.push_back("main.close");
    Application.Terminate();
}

const FormClass& TDialogTestForm::Class() {
    static const FormClass formClass{u"TDIALOGTESTFORM",
                                     {Member(u"okButton", &TDialogTestForm::okButton),
                                      Member(u"cancelButton", &TDialogTestForm::cancelButton)},
                                     {Handler(u"FormCreate", &TDialogTestForm::FormCreate),
                                      Handler(u"okButtonClick", &TDialogTestForm::okButtonClick),
                                      Handler(u"cancelButtonClick", &TDialogTestForm::cancelButtonClick)}};
    return formClass;
}

void TDialogTestForm::FormCreate(TObject*) {
    Events.push_back(dialogTestForm == this ? "dialog.create" : "dialog.create-before-reference");
}

void TDialogTestForm::okButtonClick(TObject*) {
    // The modal result is set before the click handler runs.
    Events.push_back(FormModalResult() == ModalResult::Ok ? "dialog.ok" : "dialog.ok-without-result");
    if (onOk) onOk();
    Application.Terminate();
}

void TDialogTestForm::cancelButtonClick(TObject*) {
    Events.push_back("dialog.cancel");
    Application.Terminate();
}

const FormClass& TKeyTestForm::Class() {
    static const FormClass formClass{
        u"TKEYTESTFORM",
        {Member(u"plainLabel", &TKeyTestForm::plainLabel), Member(u"firstEdit", &TKeyTestForm::firstEdit),
         Member(u"linkedLabel", &TKeyTestForm::linkedLabel), Member(u"secondEdit", &TKeyTestForm::secondEdit),
         Member(u"okButton", &TKeyTestForm::okButton), Member(u"cancelButton", &TKeyTestForm::cancelButton),
         Member(u"goButton", &TKeyTestForm::goButton)},
        {Handler(u"firstEditChange", &TKeyTestForm::firstEditChange),
         Handler(u"okButtonClick", &TKeyTestForm::okButtonClick),
         Handler(u"cancelButtonClick", &TKeyTestForm::cancelButtonClick),
         Handler(u"goButtonClick", &TKeyTestForm::goButtonClick)}};
    return formClass;
}

void TKeyTestForm::firstEditChange(TObject*) {
    const std::u16string text = firstEdit->Text();
    Events.push_back("change:" + std::string(text.begin(), text.end()));
}
void TKeyTestForm::okButtonClick(TObject*) { Events.push_back("ok"); }
void TKeyTestForm::cancelButtonClick(TObject*) { Events.push_back("cancel"); }
void TKeyTestForm::goButtonClick(TObject*) { Events.push_back("go"); }

const FormClass& TMemoTestForm::Class() {
    static const FormClass formClass{
        u"TMEMOTESTFORM",
        {Member(u"memo", &TMemoTestForm::memo), Member(u"agreeButton", &TMemoTestForm::agreeButton),
         Member(u"quitButton", &TMemoTestForm::quitButton)},
        {Handler(u"agreeButtonClick", &TMemoTestForm::agreeButtonClick),
         Handler(u"quitButtonClick", &TMemoTestForm::quitButtonClick)}};
    return formClass;
}

void TMemoTestForm::agreeButtonClick(TObject*) { Events.push_back("agree"); }
void TMemoTestForm::quitButtonClick(TObject*) { Events.push_back("quit"); }

bool PumpApplication(const std::function<bool()>& done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto lastMessage = Clock::now();
    for (;;) {
        if (done && done()) return true;
        if (!done && Clock::now() - lastMessage > std::chrono::milliseconds(150)) return true;
        if (Clock::now() > deadline) return false;
        MSG message;
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (message.message == WM_QUIT) return done ? done() : true;  // left for the loop under test
            Application.HandleMessage();
            lastMessage = Clock::now();
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
}

namespace {

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

void PressKey(WORD key, bool shift, bool control, bool alt) {
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    if (control) inputs.push_back(KeyInput(VK_CONTROL, false));
    if (alt) inputs.push_back(KeyInput(VK_MENU, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    if (alt) inputs.push_back(KeyInput(VK_MENU, true));
    if (control) inputs.push_back(KeyInput(VK_CONTROL, true));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::u16string& text) {
    std::vector<INPUT> inputs;
    for (char16_t c : text) {
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
