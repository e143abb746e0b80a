// Small forms for testing the window layer; each records what happened to it.
#pragma once

#include "Application.h"
#include "Form.h"

#include <functional>
#include <string>
#include <vector>

// What the test forms saw, in order ("main.create", "dialog.ok", ...).
extern std::vector<std::string> Events;
// Extra work for the main test form's creation handler.
extern std::function<void()> MainCreateHook;

class TMainTestForm : public platform::TForm {
public:
    static const platform::FormClass& Class();
    platform::TButton* closeButton = nullptr;
    void FormCreate(platform::TObject*);
    void closeButtonClick(platform::TObject*);
};

class TDialogTestForm : public platform::TForm {
public:
    static const platform::FormClass& Class();
    platform::TBitBtn* okButton = nullptr;
    platform::TBitBtn* cancelButton = nullptr;
    void FormCreate(platform::TObject*);
    void okButtonClick(platform::TObject*);
    void cancelButtonClick(platform::TObject*);
    std::function<void()> onOk;
};

class TKeyTestForm : public platform::TForm {
public:
    static const platform::FormClass& Class();
    platform::TLabel* plainLabel = nullptr;
    platform::TEdit* firstEdit = nullptr;
    platform::TLabel* linkedLabel = nullptr;
    platform::TEdit* secondEdit = nullptr;
    platform::TBitBtn* okButton = nullptr;
    platform::TBitBtn* cancelButton = nullptr;
    platform::TButton* goButton = nullptr;
    void firstEditChange(platform::TObject*);
    void okButtonClick(platform::TObject*);
    void cancelButtonClick(platform::TObject*);
    void goButtonClick(platform::TObject*);
};

class TMemoTestForm : public platform::TForm {
public:
    static const platform::FormClass& Class();
    platform::TMemo* memo = nullptr;
    platform::TButton* agreeButton = nullptr;
    platform::TButton* quitButton = nullptr;
    void agreeButtonClick(platform::TObject*);
    void quitButtonClick(platform::TObject*);
};

extern TMainTestForm* mainTestForm;
extern TDialogTestForm* dialogTestForm;

// Handles queued messages through the application (so our key dispatch sees them) until
// `done` holds, or, without a condition, until the queue has been quiet for a moment.
bool PumpApplication(const std::function<bool()>& done = nullptr, int timeoutMs = 3000);

// Real keyboard input to the foreground window: text, and virtual keys with modifiers.
void PressKey(WORD key, bool shift = false, bool control = false, bool alt = false);
void TypeText(const std::u16string& text);
