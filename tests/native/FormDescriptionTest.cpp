// Window descriptions: every property reaching the structure, a bitbtn kind's defaults, the
// error messages, line ends and encodings, and the two descriptions the program ships.
#include "FormDescription.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using namespace platform;

namespace {

constexpr std::u16string_view Resource = u"TESTFORM";

FormDescription Parse(std::string_view text) {
    return ParseFormDescription(text, Resource);
}

// The message of the description error the text raises; empty when it parses.
std::string ErrorOf(std::string_view text) {
    try {
        Parse(text);
    } catch (const EDescriptionError& error) {
        return error.what();
    }
    return {};
}

// A valid form head of two lines: control lines start at line 3.
std::string Form(std::string_view body) {
    return "form F\nclientSize = 10, 10\n" + std::string(body) + "end\n";
}

const ControlDescription& OnlyControl(const FormDescription& form) {
    EXPECT_EQ(form.controls.size(), 1u);
    return form.controls.at(0);
}

constexpr std::string_view FullDescription = R"(# a form that sets everything
form TFull
    caption = "Full"
    clientSize = 300, 200
    position = screenCenter
    border = dialog
    color = window
    fontName = "Tahoma"
    fontSize = 10
    fontHeight = -13
    designDpi = 120
    activeControl = notes
    onCreate = FullCreate

    label prompt
        bounds = -4, 2, 30, 0
        caption = "&Name"
        autoSize = false
        wordWrap = true
        focusControl = name
        cursor = handPoint
        enabled = false
    end
    edit name
        bounds = 1, 2, 3, 4
        text = "typed"
        readOnly = true
        tabOrder = 5
        onChange = NameChange
    end
    memo notes
        bounds = 10,20,30,40
        line = "first"
        line = ""
        line = "third"
        readOnly = true
        wordWrap = true
        scrollBars = both
        wantReturns = true
        wantEscape = true
        tabOrder = 0
        onChange = NotesChange
    end
    button push
        bounds = 5, 6, 7, 8
        caption = "Push"
        default = true
        cancel = true
        modalResult = cancel
        tabOrder = 2
        onClick = PushClick
    end
    bitbtn glyph
        kind = custom
        caption = "Glyph"
        modalResult = ok
        enabled = false
        onClick = GlyphClick
    end
end
)";

TEST(FormDescriptionTest, EveryPropertyReachesTheDescription) {
    const FormDescription form = Parse(FullDescription);
    EXPECT_EQ(form.className, u"TFull");
    EXPECT_EQ(form.caption, u"Full");
    EXPECT_FALSE(form.outerSize);
    EXPECT_EQ(form.clientSize, (Size{300, 200}));
    EXPECT_EQ(form.position, FormPosition::ScreenCenter);
    EXPECT_EQ(form.border, BorderStyle::Dialog);
    EXPECT_EQ(form.color, ColorName::Window);
    EXPECT_EQ(form.font.name, u"Tahoma");
    EXPECT_EQ(form.font.size, 10);
    EXPECT_EQ(form.font.height, -13);
    EXPECT_EQ(form.designDpi, 120);
    EXPECT_EQ(form.activeControl, u"notes");
    EXPECT_EQ(form.onCreate, u"FullCreate");
    ASSERT_EQ(form.controls.size(), 5u);

    const ControlDescription& label = form.controls[0];
    EXPECT_EQ(label.kind, ControlKind::Label);
    EXPECT_EQ(label.name, u"prompt");
    EXPECT_EQ(label.line, 15);
    EXPECT_EQ(label.bounds, (Bounds{-4, 2, 30, 0}));
    EXPECT_EQ(label.caption, u"&Name");
    EXPECT_FALSE(label.autoSize);
    EXPECT_TRUE(label.wordWrap);
    EXPECT_EQ(label.focusControl, u"name");
    EXPECT_EQ(label.cursor, CursorKind::HandPoint);
    EXPECT_FALSE(label.enabled);

    const ControlDescription& edit = form.controls[1];
    EXPECT_EQ(edit.kind, ControlKind::Edit);
    EXPECT_EQ(edit.line, 24);
    EXPECT_EQ(edit.bounds, (Bounds{1, 2, 3, 4}));
    EXPECT_EQ(edit.caption, u"typed");
    EXPECT_TRUE(edit.readOnly);
    EXPECT_EQ(edit.tabOrder, 5);
    EXPECT_EQ(edit.onChange, u"NameChange");
    EXPECT_TRUE(edit.enabled);

    const ControlDescription& memo = form.controls[2];
    EXPECT_EQ(memo.kind, ControlKind::Memo);
    EXPECT_EQ(memo.bounds, (Bounds{10, 20, 30, 40}));
    EXPECT_EQ(memo.lines, (std::vector<std::u16string>{u"first", u"", u"third"}));
    EXPECT_TRUE(memo.readOnly);
    EXPECT_TRUE(memo.wordWrap);
    EXPECT_EQ(memo.scrollBars, ScrollBars::Both);
    EXPECT_TRUE(memo.wantReturns);
    EXPECT_TRUE(memo.wantEscape);
    EXPECT_EQ(memo.tabOrder, 0);
    EXPECT_EQ(memo.onChange, u"NotesChange");

    const ControlDescription& button = form.controls[3];
    EXPECT_EQ(button.kind, ControlKind::Button);
    EXPECT_EQ(button.caption, u"Push");
    EXPECT_TRUE(button.isDefault);
    EXPECT_TRUE(button.isCancel);
    EXPECT_EQ(button.modalResult, ModalResult::Cancel);
    EXPECT_EQ(button.tabOrder, 2);
    EXPECT_EQ(button.onClick, u"PushClick");

    const ControlDescription& bitBtn = form.controls[4];
    EXPECT_EQ(bitBtn.kind, ControlKind::BitBtn);
    EXPECT_EQ(bitBtn.bitBtnKind, BitBtnKind::Custom);
    EXPECT_EQ(bitBtn.caption, u"Glyph");
    EXPECT_EQ(bitBtn.modalResult, ModalResult::Ok);
    EXPECT_FALSE(bitBtn.isDefault);
    EXPECT_FALSE(bitBtn.isCancel);
    EXPECT_FALSE(bitBtn.enabled);
    EXPECT_EQ(bitBtn.tabOrder, -1);
    EXPECT_EQ(bitBtn.onClick, u"GlyphClick");
}

TEST(FormDescriptionTest, UnsetPropertiesKeepTheirDefaults) {
    const FormDescription form = Parse("form F\nouterSize = 0, 0\nlabel a\nend\nbutton b\nend\nend\n");
    EXPECT_EQ(form.outerSize, (Size{0, 0}));
    EXPECT_FALSE(form.clientSize);
    EXPECT_EQ(form.caption, u"");
    EXPECT_EQ(form.position, FormPosition::Designed);
    EXPECT_EQ(form.font.name, u"MS Sans Serif");
    EXPECT_EQ(form.designDpi, 96);
    EXPECT_EQ(form.activeControl, u"");
    ASSERT_EQ(form.controls.size(), 2u);
    for (const ControlDescription& control : form.controls) {
        EXPECT_EQ(control.bounds, Bounds{});
        EXPECT_TRUE(control.autoSize);
        EXPECT_TRUE(control.enabled);
        EXPECT_EQ(control.tabOrder, -1);
        EXPECT_EQ(control.modalResult, ModalResult::None);
        EXPECT_FALSE(control.isDefault);
        EXPECT_EQ(control.cursor, CursorKind::Default);
    }
}

TEST(FormDescriptionTest, EachEnumeratedWordMapsToItsOwnValue) {
    auto memo = [](std::string_view word) {
        return OnlyControl(Parse(Form("memo m\nscrollBars = " + std::string(word) + "\nend\n"))).scrollBars;
    };
    EXPECT_EQ(memo("none"), ScrollBars::None);
    EXPECT_EQ(memo("vertical"), ScrollBars::Vertical);
    EXPECT_EQ(memo("horizontal"), ScrollBars::Horizontal);
    EXPECT_EQ(memo("both"), ScrollBars::Both);

    auto button = [](std::string_view line) {
        return OnlyControl(Parse(Form("button b\n" + std::string(line) + "\nend\n")));
    };
    EXPECT_EQ(button("modalResult = none").modalResult, ModalResult::None);
    EXPECT_EQ(button("modalResult = ok").modalResult, ModalResult::Ok);
    EXPECT_EQ(button("modalResult = cancel").modalResult, ModalResult::Cancel);
    EXPECT_EQ(button("cursor = default").cursor, CursorKind::Default);
    EXPECT_EQ(button("cursor = handPoint").cursor, CursorKind::HandPoint);

    auto form = [](std::string_view line) {
        return Parse("form F\nouterSize = 1, 1\n" + std::string(line) + "\nend\n");
    };
    EXPECT_EQ(form("position = designed").position, FormPosition::Designed);
    EXPECT_EQ(form("position = screenCenter").position, FormPosition::ScreenCenter);
    EXPECT_EQ(form("border = sizeable").border, BorderStyle::Sizeable);
    EXPECT_EQ(form("border = dialog").border, BorderStyle::Dialog);
    EXPECT_EQ(form("color = btnFace").color, ColorName::BtnFace);
    EXPECT_EQ(form("color = window").color, ColorName::Window);
}

struct KindCase {
    const char* body;
    std::u16string_view caption;
    ModalResult modalResult;
    bool isDefault;
    bool isCancel;
};

TEST(FormDescriptionTest, BitBtnKindSuppliesWhatTheBlockLeavesOut) {
    const KindCase cases[] = {
        {"kind = ok\n", u"OK", ModalResult::Ok, true, false},
        {"kind = cancel\n", u"Cancel", ModalResult::Cancel, false, true},
        {"kind = custom\n", u"", ModalResult::None, false, false},
        {"caption = \"&Register\"\nkind = ok\n", u"&Register", ModalResult::Ok, true, false},
        {"kind = ok\ncaption = \"&Register\"\n", u"&Register", ModalResult::Ok, true, false},
        {"caption = \"\"\nkind = ok\n", u"", ModalResult::Ok, true, false},
        {"default = false\nkind = ok\nmodalResult = none\n", u"OK", ModalResult::None, false, false},
        {"kind = cancel\ncancel = false\nmodalResult = ok\n", u"Cancel", ModalResult::Ok, false, false},
        {"default = true\nkind = cancel\n", u"Cancel", ModalResult::Cancel, true, true},
    };
    for (const KindCase& test : cases) {
        SCOPED_TRACE(test.body);
        const FormDescription form = Parse(Form("bitbtn b\n" + std::string(test.body) + "end\n"));
        const ControlDescription& button = OnlyControl(form);
        EXPECT_EQ(button.caption, test.caption);
        EXPECT_EQ(button.modalResult, test.modalResult);
        EXPECT_EQ(button.isDefault, test.isDefault);
        EXPECT_EQ(button.isCancel, test.isCancel);
    }
}

TEST(FormDescriptionTest, ExplicitSettingsOfOneBitBtnDoNotShieldTheNext) {
    const FormDescription form = Parse(Form("bitbtn a\ncaption = \"A\"\ndefault = false\nend\n"
                                            "bitbtn b\nkind = ok\nend\n"));
    ASSERT_EQ(form.controls.size(), 2u);
    EXPECT_EQ(form.controls[0].caption, u"A");
    EXPECT_EQ(form.controls[1].caption, u"OK");
    EXPECT_TRUE(form.controls[1].isDefault);
}

struct ErrorCase {
    std::string input;
    std::string message;
};

TEST(FormDescriptionTest, ErrorsNameResourceLineAndItem) {
    const std::string longLine(500, '@');
    const ErrorCase cases[] = {
        // structure
        {"", "TESTFORM, line 1: no 'form' block"},
        {"# just a comment\n\n", "TESTFORM, line 2: no 'form' block"},
        {"label a\nend\n", "TESTFORM, line 1: expected 'form' before 'label'"},
        {"\ncaption = \"x\"\n", "TESTFORM, line 2: expected 'form' before 'caption'"},
        {"end\n", "TESTFORM, line 1: expected 'form' before 'end'"},
        {"form F\nclientSize = 1, 1\nlabel a\nend\n", "TESTFORM, line 4: missing 'end' for 'F'"},
        {"form F\nclientSize = 1, 1\nlabel a\n\n", "TESTFORM, line 4: missing 'end' for 'a'"},
        {Form("label a\nedit b\nend\nend\n"), "TESTFORM, line 4: missing 'end' for 'a' before 'b'"},
        {Form("") + "# trailing comments are fine\nlabel a\n", "TESTFORM, line 5: text after the end of 'F': 'label a'"},
        {Form("form G\nend\n"), "TESTFORM, line 3: second form 'G'"},
        {Form("checkbox c\nend\n"), "TESTFORM, line 3: unknown kind 'checkbox'"},
        {Form("label 9a\nend\n"), "TESTFORM, line 3: bad name '9a'"},
        {"form 9F\n", "TESTFORM, line 1: bad name '9F'"},
        {Form("label a\nend\nedit a\nend\n"), "TESTFORM, line 5: duplicate name 'a'"},
        {Form("label F\nend\n"), "TESTFORM, line 3: duplicate name 'F'"},
        {Form("caption \"x\"\n"), "TESTFORM, line 3: malformed line 'caption \"x\"'"},
        {Form("label\nend\n"), "TESTFORM, line 3: malformed line 'label'"},
        {Form("label a b\nend\n"), "TESTFORM, line 3: malformed line 'label a b'"},
        {Form("label a\nend a\n"), "TESTFORM, line 4: malformed line 'end a'"},
        {Form("= 5\n"), "TESTFORM, line 3: malformed line '= 5'"},
        {Form("l@bel a\n"), "TESTFORM, line 3: malformed line 'l@bel a'"},
        {Form(longLine + "\n"), "TESTFORM, line 3: malformed line '" + longLine.substr(0, 60) + "...'"},
        {Form("label\ra\n"), "TESTFORM, line 3: malformed line 'label\xEF\xBF\xBD" "a'"},
        // properties
        {Form("edit eUserName\ncolour = 1\nend\n"), "TESTFORM, line 4: unknown property 'colour' of 'eUserName'"},
        {"form F\ncolour = 1\n", "TESTFORM, line 2: unknown property 'colour' of 'F'"},
        {Form("label a\nouterSize = 1, 1\nend\n"), "TESTFORM, line 4: unknown property 'outerSize' of 'a'"},
        {Form("label a\ntext = \"x\"\nend\n"), "TESTFORM, line 4: property 'text' does not apply to label 'a'"},
        {Form("edit a\ncaption = \"x\"\nend\n"), "TESTFORM, line 4: property 'caption' does not apply to edit 'a'"},
        {Form("button a\nkind = ok\nend\n"), "TESTFORM, line 4: property 'kind' does not apply to button 'a'"},
        {Form("label a\ntabOrder = 1\nend\n"), "TESTFORM, line 4: property 'tabOrder' does not apply to label 'a'"},
        {Form("memo a\nfocusControl = a\nend\n"), "TESTFORM, line 4: property 'focusControl' does not apply to memo 'a'"},
        {Form("label a\nend\ncaption = \"x\"\n"), "TESTFORM, line 5: property 'caption' of 'F' after the first control"},
        {Form("label a\ncaption = \"x\"\ncaption = \"y\"\nend\n"), "TESTFORM, line 5: duplicate property 'caption' of 'a'"},
        {"form F\ncaption = \"x\"\ncaption = \"x\"\n", "TESTFORM, line 3: duplicate property 'caption' of 'F'"},
        {"form F\nouterSize = 1, 1\nclientSize = 1, 1\n", "TESTFORM, line 3: 'F' has both 'outerSize' and 'clientSize'"},
        {"form F\ncaption = \"x\"\nend\n", "TESTFORM, line 1: 'F' needs 'outerSize' or 'clientSize'"},
        // values
        {Form("label a\nborder = x\nend\n"), "TESTFORM, line 4: unknown property 'border' of 'a'"},
        {"form TABox\nborder = thick\n", "TESTFORM, line 2: bad value for 'border' of 'TABox': 'thick'"},
        {"form F\nposition = ScreenCenter\n", "TESTFORM, line 2: bad value for 'position' of 'F': 'ScreenCenter'"},
        {Form("label a\nbounds = 1, 2, 3\nend\n"), "TESTFORM, line 4: bad value for 'bounds' of 'a': '1, 2, 3'"},
        {Form("label a\nbounds = 1, 2, 3, 4, 5\nend\n"), "line 4: bad value for 'bounds' of 'a': '1, 2, 3, 4, 5'"},
        {Form("label a\nbounds = 1, 2, 3, 4,\nend\n"), "line 4: bad value for 'bounds' of 'a': '1, 2, 3, 4,'"},
        {Form("label a\nbounds = 1, , 3, 4\nend\n"), "line 4: bad value for 'bounds' of 'a'"},
        {Form("label a\nbounds = 1, 2, -3, 4\nend\n"), "line 4: bad value for 'bounds' of 'a': '1, 2, -3, 4'"},
        {Form("label a\nbounds = 1, 2, 3, -1\nend\n"), "line 4: bad value for 'bounds' of 'a'"},
        {Form("label a\nbounds = 1, 2, 3, 4x\nend\n"), "line 4: bad value for 'bounds' of 'a'"},
        {"form F\nclientSize = -1, 5\n", "TESTFORM, line 2: bad value for 'clientSize' of 'F': '-1, 5'"},
        {"form F\nouterSize = 5\n", "TESTFORM, line 2: bad value for 'outerSize' of 'F': '5'"},
        {"form F\nfontHeight = 99999999999\n", "TESTFORM, line 2: bad value for 'fontHeight' of 'F': '99999999999'"},
        {"form F\nfontHeight = +11\n", "TESTFORM, line 2: bad value for 'fontHeight' of 'F': '+11'"},
        {"form F\nfontHeight = - 11\n", "TESTFORM, line 2: bad value for 'fontHeight' of 'F': '- 11'"},
        {"form F\nfontSize = 0\n", "TESTFORM, line 2: bad value for 'fontSize' of 'F': '0'"},
        {"form F\ndesignDpi = -96\n", "TESTFORM, line 2: bad value for 'designDpi' of 'F': '-96'"},
        {Form("edit a\ntabOrder = -1\nend\n"), "TESTFORM, line 4: bad value for 'tabOrder' of 'a': '-1'"},
        {Form("edit a\nreadOnly = yes\nend\n"), "TESTFORM, line 4: bad value for 'readOnly' of 'a': 'yes'"},
        {Form("edit a\nreadOnly = True\nend\n"), "TESTFORM, line 4: bad value for 'readOnly' of 'a': 'True'"},
        {Form("button a\nonClick = \"aClick\"\nend\n"), "line 4: bad value for 'onClick' of 'a': '\"aClick\"'"},
        {Form("button a\nonClick = 1Click\nend\n"), "line 4: bad value for 'onClick' of 'a': '1Click'"},
        {Form("button a\nonClick =\nend\n"), "TESTFORM, line 4: bad value for 'onClick' of 'a': ''"},
        {"form F\nonCreate = Form Create\n", "TESTFORM, line 2: bad value for 'onCreate' of 'F': 'Form Create'"},
        {"form F\ncaption = Licence\n", "TESTFORM, line 2: bad value for 'caption' of 'F': 'Licence'"},
        {"form F\ncaption = \"Licence\n", "TESTFORM, line 2: bad value for 'caption' of 'F': '\"Licence'"},
        {"form F\ncaption = \"a\\\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"a\\tb\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"a\"b\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"a\" # note\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"\xC3\x28\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"\xC0\xAF\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"\xED\xA0\x80\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        {"form F\ncaption = \"\xE2\x82\"\n", "TESTFORM, line 2: bad value for 'caption' of 'F'"},
        // references, checked once every control is known
        {"form F\nclientSize = 1, 1\nactiveControl = b\nedit a\nend\nend\n",
         "TESTFORM, line 3: unknown control 'b' for 'activeControl' of 'F'"},
        {"form F\nclientSize = 1, 1\nactiveControl = F\nend\n",
         "TESTFORM, line 3: unknown control 'F' for 'activeControl' of 'F'"},
        {"form F\nclientSize = 1, 1\nactiveControl = a\nlabel a\nend\nend\n",
         "TESTFORM, line 3: 'activeControl' of 'F' names label 'a', which takes no focus"},
        {Form("edit b\nend\nlabel a\nbounds = 0, 0, 1, 1\nfocusControl = c\nend\n"),
         "TESTFORM, line 7: unknown control 'c' for 'focusControl' of 'a'"},
    };
    for (const ErrorCase& test : cases) {
        SCOPED_TRACE(test.input);
        const std::string message = ErrorOf(test.input);
        EXPECT_NE(message.find(test.message), std::string::npos) << message;
    }
}

TEST(FormDescriptionTest, ReferencesMayPointForwardAndBack) {
    const FormDescription form = Parse(Form("label l\nfocusControl = e\nend\nedit e\nend\n"
                                            "label m\nfocusControl = l\nend\n"));
    EXPECT_EQ(form.controls[0].focusControl, u"e");
    EXPECT_EQ(form.controls[2].focusControl, u"l");
    EXPECT_EQ(Parse("form F\nclientSize = 1, 1\nactiveControl = b\nbutton b\nend\nend\n").activeControl, u"b");
}

TEST(FormDescriptionTest, CrLfAndByteOrderMarkAreAccepted) {
    const std::string lf = Form("memo m\nline = \"a\"\nline = \"b\"\nend\n");
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {crlf, "\xEF\xBB\xBF" + lf, "\xEF\xBB\xBF" + crlf}) {
        const FormDescription form = Parse(text);
        EXPECT_EQ(form.className, u"F");
        EXPECT_EQ(OnlyControl(form).lines, (std::vector<std::u16string>{u"a", u"b"}));
    }
    // Without a final line break too, and with line numbers counted the same.
    EXPECT_EQ(Parse("form F\r\nclientSize = 1, 1\r\nend").className, u"F");
    EXPECT_NE(ErrorOf("form F\r\n\r\ncolour = 1\r\n").find("TESTFORM, line 3: unknown property 'colour' of 'F'"),
              std::string::npos);
    // A byte order mark is one only at the very start.
    EXPECT_NE(ErrorOf(Form("\xEF\xBB\xBFlabel a\nend\n")).find("TESTFORM, line 3: malformed line"), std::string::npos);
}

TEST(FormDescriptionTest, StringsTakeEscapesAndAnyUnicode) {
    const FormDescription form = Parse("form F\n"
                                       "clientSize = 1, 1\n"
                                       "caption = \"say \\\"hi\\\" \\\\ \\n# = , \\\\n\"\n"
                                       "fontName = \"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80\"\n"
                                       "end\n");
    EXPECT_EQ(form.caption, u"say \"hi\" \\ \n# = , \\n");
    EXPECT_EQ(form.font.name, u"Gr\u00FC\u00DFe \u20AC \U0001F600");

    std::u16string message;
    try {
        Parse("form F\nborder = \"d\xC3\xBCnn\"\n");
    } catch (const EDescriptionError& error) {
        message = error.Message();
    }
    EXPECT_EQ(message, u"TESTFORM, line 2: bad value for 'border' of 'F': '\"d\u00FCnn\"'");
}

TEST(FormDescriptionTest, IndentationAndSpacingAreFree) {
    const FormDescription form =
        Parse("\t form F\n  clientSize=3,4\t\n\t\t# note\n   edit e\ntabOrder   =\t7  \n   end   \nend");
    EXPECT_EQ(form.clientSize, (Size{3, 4}));
    EXPECT_EQ(OnlyControl(form).tabOrder, 7);
}

std::string ReadSource(const char* path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::u16string> NamesOf(const FormDescription& form) {
    std::vector<std::u16string> names;
    for (const ControlDescription& control : form.controls) names.push_back(control.name);
    return names;
}

TEST(FormDescriptionTest, RegistrationDialogDescription) {
    const FormDescription form =
        ParseFormDescription(ReadSource(QUORVEL_SOURCE_DIR "/registration/TregisterForm.form"), u"TREGISTERFORM");
    EXPECT_EQ(form.className, u"TregisterForm");
    EXPECT_EQ(form.caption, u"Please Register %s");
    EXPECT_EQ(form.outerSize, (Size{366, 219}));
    EXPECT_FALSE(form.clientSize);
    EXPECT_EQ(form.position, FormPosition::ScreenCenter);
    EXPECT_EQ(form.border, BorderStyle::Sizeable);
    EXPECT_EQ(form.color, ColorName::BtnFace);
    EXPECT_EQ(form.font.name, u"MS Sans Serif");
    EXPECT_EQ(form.font.size, 8);
    EXPECT_EQ(form.font.height, -11);
    EXPECT_EQ(form.designDpi, 96);
    EXPECT_EQ(form.activeControl, u"eUserName");
    EXPECT_EQ(form.onCreate, u"FormCreate");
    ASSERT_EQ(NamesOf(form), (std::vector<std::u16string>{u"promptText", u"nameLabel", u"eUserName",
                                                          u"organizationLabel", u"eOrganizationName", u"registerOk",
                                                          u"cancelButton"}));

    const auto& c = form.controls;
    EXPECT_EQ(c[0].kind, ControlKind::Label);
    EXPECT_EQ(c[0].bounds, (Bounds{8, 8, 345, 26}));
    EXPECT_EQ(c[0].caption, u"Please register your copy of %s. Fill in your name, your organization name "
                            u"(if applicable) and then click on Register.");
    EXPECT_FALSE(c[0].autoSize);
    EXPECT_TRUE(c[0].wordWrap);
    for (int i : {1, 3}) {
        EXPECT_EQ(c[i].kind, ControlKind::Label);
        EXPECT_TRUE(c[i].autoSize);
        EXPECT_EQ(c[i].focusControl, u"");
    }
    EXPECT_EQ(c[1].caption, u"&Name");
    EXPECT_EQ(c[1].bounds, (Bounds{8, 48, 28, 13}));
    EXPECT_EQ(c[3].caption, u"&Organization");
    EXPECT_EQ(c[3].bounds, (Bounds{8, 96, 59, 13}));

    for (int i : {2, 4}) {
        EXPECT_EQ(c[i].kind, ControlKind::Edit);
        EXPECT_EQ(c[i].caption, u"");
        EXPECT_EQ(c[i].onChange, u"eUserNameChange");
    }
    EXPECT_EQ(c[2].bounds, (Bounds{8, 64, 345, 21}));
    EXPECT_EQ(c[2].tabOrder, 0);
    EXPECT_EQ(c[4].bounds, (Bounds{8, 112, 345, 21}));
    EXPECT_EQ(c[4].tabOrder, 1);

    const ControlDescription& registerOk = c[5];
    EXPECT_EQ(registerOk.kind, ControlKind::BitBtn);
    EXPECT_EQ(registerOk.bitBtnKind, BitBtnKind::Ok);
    EXPECT_EQ(registerOk.bounds, (Bounds{69, 152, 107, 25}));
    EXPECT_EQ(registerOk.caption, u"&Register");
    EXPECT_TRUE(registerOk.isDefault);
    EXPECT_FALSE(registerOk.isCancel);
    EXPECT_EQ(registerOk.modalResult, ModalResult::Ok);
    EXPECT_FALSE(registerOk.enabled);
    EXPECT_EQ(registerOk.tabOrder, 2);
    EXPECT_EQ(registerOk.onClick, u"registerOkClick");

    const ControlDescription& cancel = c[6];
    EXPECT_EQ(cancel.kind, ControlKind::BitBtn);
    EXPECT_EQ(cancel.bitBtnKind, BitBtnKind::Cancel);
    EXPECT_EQ(cancel.bounds, (Bounds{182, 152, 107, 25}));
    EXPECT_EQ(cancel.caption, u"Cancel");
    EXPECT_FALSE(cancel.isDefault);
    EXPECT_TRUE(cancel.isCancel);
    EXPECT_EQ(cancel.modalResult, ModalResult::Cancel);
    EXPECT_TRUE(cancel.enabled);
    EXPECT_EQ(cancel.tabOrder, 3);
    EXPECT_EQ(cancel.onClick, u"cancelButtonClick");
}

TEST(FormDescriptionTest, LicenceWindowDescription) {
    const FormDescription form = ParseFormDescription(ReadSource(QUORVEL_SOURCE_DIR "/licence/TABox.form"), u"TABOX");
    EXPECT_EQ(form.className, u"TABox");
    EXPECT_EQ(form.caption, u"Licence");
    EXPECT_EQ(form.clientSize, (Size{472, 254}));
    EXPECT_FALSE(form.outerSize);
    EXPECT_EQ(form.position, FormPosition::ScreenCenter);
    EXPECT_EQ(form.border, BorderStyle::Dialog);
    EXPECT_EQ(form.color, ColorName::BtnFace);
    EXPECT_EQ(form.font.name, u"MS Sans Serif");
    EXPECT_EQ(form.font.size, 8);
    EXPECT_EQ(form.font.height, -11);
    EXPECT_EQ(form.designDpi, 96);
    EXPECT_EQ(form.activeControl, u"agreeButton");
    EXPECT_EQ(form.onCreate, u"FormCreate");
    ASSERT_EQ(NamesOf(form), (std::vector<std::u16string>{u"Memo1", u"Label1", u"agreeButton", u"cancelButton"}));

    const ControlDescription& memo = form.controls[0];
    EXPECT_EQ(memo.kind, ControlKind::Memo);
    EXPECT_EQ(memo.bounds, (Bounds{8, 8, 457, 185}));
    EXPECT_EQ(memo.lines,
              (std::vector<std::u16string>{u"Please read the file LICENCE.TXT that comes with your package"}));
    EXPECT_TRUE(memo.readOnly);
    EXPECT_EQ(memo.scrollBars, ScrollBars::Vertical);
    EXPECT_TRUE(memo.wordWrap);
    EXPECT_TRUE(memo.wantReturns);
    EXPECT_TRUE(memo.wantEscape);
    EXPECT_EQ(memo.tabOrder, 0);

    const ControlDescription& label = form.controls[1];
    EXPECT_EQ(label.kind, ControlKind::Label);
    EXPECT_EQ(label.bounds, (Bounds{8, 200, 402, 13}));
    EXPECT_EQ(label.caption,
              u"To continue with this installation, you must agree to all terms of this licence agreement");

    const ControlDescription& agree = form.controls[2];
    EXPECT_EQ(agree.kind, ControlKind::Button);
    EXPECT_EQ(agree.bounds, (Bounds{152, 224, 78, 25}));
    EXPECT_EQ(agree.caption, u"I agree");
    EXPECT_TRUE(agree.isDefault);
    EXPECT_FALSE(agree.isCancel);
    EXPECT_EQ(agree.modalResult, ModalResult::Ok);
    EXPECT_EQ(agree.tabOrder, 1);
    EXPECT_EQ(agree.onClick, u"agreeButtonClick");

    const ControlDescription& cancel = form.controls[3];
    EXPECT_EQ(cancel.kind, ControlKind::Button);
    EXPECT_EQ(cancel.bounds, (Bounds{241, 224, 78, 25}));
    EXPECT_EQ(cancel.caption, u"&Cancel");
    EXPECT_FALSE(cancel.isDefault);
    EXPECT_FALSE(cancel.isCancel);
    EXPECT_EQ(cancel.modalResult, ModalResult::None);
    EXPECT_EQ(cancel.cursor, CursorKind::HandPoint);
    EXPECT_EQ(cancel.tabOrder, 2);
    EXPECT_EQ(cancel.onClick, u"cancelButtonClick");
}

} // namespace
