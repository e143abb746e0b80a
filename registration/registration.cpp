#include "registration.h"

#include "Application.h"
#include "ExitCode.h"
#include "Product.h"
#include "StdRegistry.h"
#include "StringFormat.h"
#include "SystemError.h"

using namespace platform;

TregisterForm* registerForm = nullptr;

namespace {

// The product's other parts are 32-bit and read the record in the 32-bit registry view; the
// 64-bit build keeps it there too.
constexpr REGSAM RecordView = KEY_WOW64_32KEY;

} // namespace

std::u16string RegistrationKey() {
    return u"SOFTWARE\\Tessarin\\" + std::u16string(ProductName);
}

const FormClass& TregisterForm::Class() {
    static const FormClass formClass{
        u"TREGISTERFORM",
        {
            Member(u"promptText", &TregisterForm::promptText),
            Member(u"nameLabel", &TregisterForm::nameLabel),
            Member(u"organizationLabel", &TregisterForm::organizationLabel),
            Member(u"eUserName", &TregisterForm::eUserName),
            Member(u"eOrganizationName", &TregisterForm::eOrganizationName),
            Member(u"registerOk", &TregisterForm::registerOk),
            Member(u"cancelButton", &TregisterForm::cancelButton),
        },
        {
            Handler(u"FormCreate", &TregisterForm::FormCreate),
            Handler(u"eUserNameChange", &TregisterForm::eUserNameChange),
            Handler(u"registerOkClick", &TregisterForm::registerOkClick),
            Handler(u"cancelButtonClick", &TregisterForm::cancelButtonClick),
        },
    };
    return formClass;
}

void TregisterForm::FormCreate(TObject*) {
    SetCaption(FormatS(Caption(), DisplayName()));
    promptText->SetCaption(FormatS(promptText->Caption(), DisplayName()));
    LoadRegistration();
}

void TregisterForm::LoadRegistration() {
    TRegistry registry(RecordView);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    // Full access creates the key when it is missing; a user without the rights to write there
    // still sees the record as stored.
    if (!registry.OpenKey(RegistrationKey(), true) && !registry.OpenKeyReadOnly(RegistrationKey())) return;
    eUserName->SetText(ReadStringDefault(registry, u"Name", u""));
    eOrganizationName->SetText(ReadStringDefault(registry, u"Organization", u""));
}

void TregisterForm::SaveRegistration() {
    TRegistry registry(RecordView);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(RegistrationKey(), true)) {
        throw Exception(u"Failed to open key '" + RegistrationKey() + u"' for writing: " +
                        SystemErrorText(static_cast<DWORD>(registry.LastError())));
    }
    registry.WriteString(u"Name", eUserName->Text());
    registry.WriteString(u"Organization", eOrganizationName->Text());
}

void TregisterForm::eUserNameChange(TObject*) {
    registerOk->SetEnabled(!eUserName->Text().empty());
}

void TregisterForm::registerOkClick(TObject*) {
    // Success is reported only for a record that was stored.
    SaveRegistration();
    ExitCode = 0;
    Application.Terminate();
}

void TregisterForm::cancelButtonClick(TObject*) {
    Application.Terminate();
}
