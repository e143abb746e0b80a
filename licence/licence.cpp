#include "licence.h"

#include "Application.h"

using namespace platform;

TABox* ABox = nullptr;

const FormClass& TABox::Class() {
    static const FormClass formClass{
        u"TABOX",
        {
            Member(u"Memo1", &TABox::Memo1),
            Member(u"Label1", &TABox::Label1),
            Member(u"agreeButton", &TABox::agreeButton),
            Member(u"cancelButton", &TABox::cancelButton),
        },
        {
            Handler(u"FormCreate", &TABox::FormCreate),
            Handler(u"agreeButtonClick", &TABox::agreeButtonClick),
            Handler(u"cancelButtonClick", &TABox::cancelButtonClick),
        },
    };
    return formClass;
}

void TABox::FormCreate(TObject*) {
    // Relative: the licence beside the installer's working directory, as the installer ships it.
    Memo1->LoadFromFile(u"license.txt");
    SetCaption(Application.Title());
}

void TABox::agreeButtonClick(TObject*) {
    Hide();
    Application.Terminate();
}

void TABox::cancelButtonClick(TObject*) {
    Application.Terminate();
}
