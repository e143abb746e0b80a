// The licence window: the licence agreement read from "license.txt". The application's main window.
#pragma once

#include "Form.h"

class TABox : public platform::TForm {
public:
    static const platform::FormClass& Class();

    platform::TMemo* Memo1 = nullptr;
    platform::TLabel* Label1 = nullptr;
    platform::TButton* agreeButton = nullptr;
    platform::TButton* cancelButton = nullptr;

    void FormCreate(platform::TObject* Sender);
    void agreeButtonClick(platform::TObject* Sender);
    void cancelButtonClick(platform::TObject* Sender);
};

extern TABox* ABox;
