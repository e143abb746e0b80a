// Binding a description to its form class: every mismatch is a clear error naming the item.
#include "TestSupport.h"

#include "Application.h"
#include "Form.h"
#include "FormDescription.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class TLoaderForm : public TForm {
public:
    TEdit* nameEdit = nullptr;
    TButton* okButton = nullptr;
    int clicks = 0;
    void okButtonClick(TObject*) { ++clicks; }
};

const char* const GoodDescription = R"(form TLoaderForm
    caption = "Loader"
    clientSize = 200, 100
    edit nameEdit
        bounds = 8, 8, 100, 21
    end
    button okButton
        bounds = 8, 40, 80, 25
        caption = "OK"
        onClick = okButtonClick
    end
end
)";

FormClass GoodClass() {
    return FormClass{u"TLOADERFORM",
                     {Member(u"nameEdit", &TLoaderForm::nameEdit), Member(u"okButton", &TLoaderForm::okButton)},
                     {Handler(u"okButtonClick", &TLoaderForm::okButtonClick)}};
}

class FormLoader : public ::testing::Test {
protected:
    void SetUp() override { Application.Initialize(); }
    void TearDown() override { Application.Reset(); }
    static std::u16string CreateError(const FormClass& formClass, const std::string& text) {
        TLoaderForm form;
        try {
            form.Create(formClass, ParseFormDescription(text, formClass.resourceName));
        } catch (const EDescriptionError& error) {
            return error.Message();
        }
        return u"(no error)";
    }
};

TEST_F(FormLoader, BindsMembersAndHandlersByName) {
    TLoaderForm form;
    form.Create(GoodClass(), ParseFormDescription(GoodDescription, u"TLOADERFORM"));
    ASSERT_NE(form.nameEdit, nullptr);
    ASSERT_NE(form.okButton, nullptr);
    EXPECT_EQ(testing_support::WindowText(::GetParent(form.nameEdit->Handle())), u"Loader");
    form.okButton->Click();
    EXPECT_EQ(form.clicks, 1);
}

TEST_F(FormLoader, MismatchesAreErrorsThatNameTheItem) {
    struct Row {
        const char* name;
        FormClass formClass;
        std::string text;
        std::u16string expected;
    };
    std::string unknownHandler = GoodDescription;
    unknownHandler.replace(unknownHandler.find("onClick = okButtonClick"), 23, "onClick = okButtonClik");
    std::string missingControl = GoodDescription;
    missingControl.replace(missingControl.find("edit nameEdit"), 13, "edit nameEdits");

    FormClass wrongKind = GoodClass();
    wrongKind.controls[0] = Member(u"okButton", &TLoaderForm::nameEdit);  // a button where an edit belongs
    wrongKind.controls.erase(wrongKind.controls.begin() + 1);
    wrongKind.controls.push_back(Member(u"nameEdit", &TLoaderForm::nameEdit));

    const Row rows[] = {
        {"unknown handler", GoodClass(), unknownHandler, u"TLOADERFORM, line 7: unknown handler 'okButtonClik'"},
        {"member without control", GoodClass(), missingControl, u"TLOADERFORM: no control for the member 'nameEdit'"},
        {"wrong kind", wrongKind, GoodDescription, u"TLOADERFORM, line 7: wrong kind of control for the member 'okButton'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CreateError(row.formClass, row.text), row.expected);
    }

    FormClass noMember = GoodClass();
    noMember.controls.pop_back();
    EXPECT_EQ(CreateError(noMember, GoodDescription), u"TLOADERFORM, line 7: no member for the control 'okButton'");
}

TEST_F(FormLoader, MissingResourceIsAnError) {
    const FormClass missing{u"TNOSUCHFORM", {}, {}};
    TLoaderForm form;
    try {
        form.Create(missing);
        FAIL() << "no error for a missing description";
    } catch (const EDescriptionError& error) {
        EXPECT_EQ(error.Message(), u"missing window description 'TNOSUCHFORM'");
    }
}

} // namespace
