// The registration dialog: the user's name and organisation, pre-filled from the stored
// registration record and stored back on Register.
#pragma once

#include "Form.h"

#include <string>

class TregisterForm : public platform::TForm {
public:
    static const platform::FormClass& Class();

    platform::TLabel* promptText = nullptr;
    platform::TLabel* nameLabel = nullptr;
    platform::TLabel* organizationLabel = nullptr;
    platform::TEdit* eUserName = nullptr;
    platform::TEdit* eOrganizationName = nullptr;
    platform::TBitBtn* registerOk = nullptr;
    platform::TBitBtn* cancelButton = nullptr;

    void FormCreate(platform::TObject* Sender);
    void eUserNameChange(platform::TObject* Sender);
    void registerOkClick(platform::TObject* Sender);
    void cancelButtonClick(platform::TObject* Sender);

private:
    void LoadRegistration();
    void SaveRegistration();
};

// The record's key below HKEY_LOCAL_MACHINE: "SOFTWARE\Tessarin\Quorvel".
std::u16string RegistrationKey();

extern TregisterForm* registerForm;
