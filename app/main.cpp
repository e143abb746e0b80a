// The program's entry: the start-up sequence, and the exit status it ends with.
#include "Application.h"
#include "ErrorBox.h"
#include "ExitCode.h"
#include "Product.h"
#include "StringFormat.h"
#include "licence.h"
#include "registration.h"

using platform::Application;

// The title holds a "%s" for the product's display name.
void ApplyProductTitle() {
    Application.SetTitle(platform::FormatS(Application.Title(), DisplayName()));
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::ExitCode = 1;
    platform::Guarded([] {
        Application.Initialize();
        Application.SetTitle(u"%s Setup");
        ApplyProductTitle();
        Application.CreateForm(ABox);
        Application.CreateForm(registerForm);
        registerForm->ShowModal();
        Application.Run();
    });
    return platform::ExitCode;
}
