// license.txt in the working directory: what the licence window shows of it, and a file that
// cannot be read.
#include "ProgramTest.h"

namespace e2e {
namespace {

std::wstring SystemCodePageText(std::string_view bytes) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string Utf16Bytes(std::wstring_view text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::string LongLicence() {
    std::string text;
    for (int line = 0; text.size() < 100000; ++line) text += "Clause " + std::to_string(line) + " of the terms.\r\n";
    return text + "End.";
}

struct LicenceFile {
    const char* name;
    std::string bytes;
    std::wstring shown;
};

void PrintTo(const LicenceFile& row, std::ostream* out) {
    *out << row.name;
}

class LicenceTextTest : public ProgramTest, public ::testing::WithParamInterface<LicenceFile> {};

TEST_P(LicenceTextTest, WindowShowsTheFile) {
    const LicenceFile& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartToDialog(row.bytes));

    // Loaded at start-up, while the window is still hidden behind the dialog.
    const auto window = HiddenLicenceWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(Text(window->window), ApplicationTitle);
    const auto shown = Text(window->text);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), row.shown.size());
    EXPECT_TRUE(*shown == row.shown) << "shows \"" << Narrow(shown->substr(0, 200)) << "\"";
    EXPECT_FALSE(WaitForMessageBox(*program, milliseconds(0))) << "loading the file reported an error";

    ASSERT_TRUE(Press(dialog.window, Esc));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
}

INSTANTIATE_TEST_SUITE_P(
    , LicenceTextTest,
    ::testing::Values(
        LicenceFile{"Empty", "", L""},
        LicenceFile{"OneLine", "Terms.", L"Terms."},
        LicenceFile{"CrLf", "One\r\nTwo", L"One\r\nTwo"},
        LicenceFile{"Lf", "One\nTwo", L"One\r\nTwo"},
        LicenceFile{"Cr", "One\rTwo", L"One\r\nTwo"},
        LicenceFile{"LfCrGivesAnEmptyLine", "One\n\rTwo", L"One\r\n\r\nTwo"},
        LicenceFile{"MixedBreaks", "A\r\nB\nC\rD\n\nE", L"A\r\nB\r\nC\r\nD\r\n\r\nE"},
        LicenceFile{"UpToTheFirstNul", std::string("One\r\nTwo\0Three", 14), L"One\r\nTwo"},
        LicenceFile{"Utf8", "Caf\xC3\xA9 \xE2\x80\x94 \xC2\xA9 Tessarin", L"Caf\u00e9 \u2014 \u00a9 Tessarin"},
        LicenceFile{"Utf8WithByteOrderMark", "\xEF\xBB\xBF" "Caf\xC3\xA9\nZo\xC3\xAB", L"Caf\u00e9\r\nZo\u00eb"},
        LicenceFile{"Utf16WithByteOrderMark", Utf16Bytes(L"\u0141\u00f3d\u017a\n\u65e5\u672c"),
                    L"\u0141\u00f3d\u017a\r\n\u65e5\u672c"},
        // Not well-formed UTF-8: single-byte text in the system code page.
        LicenceFile{"SystemCodePage", "Caf\xE9 \xA9", SystemCodePageText("Caf\xE9 \xA9")},
        LicenceFile{"LongerThanAnEditBoxTakesByDefault", LongLicence(), Widen(LongLicence())}),
    [](const auto& info) { return std::string(info.param.name); });

// A licence that cannot be read is reported before the dialog comes up; the run goes on with
// the licence window as designed.
class UnreadableLicenceTest : public ProgramTest {
protected:
    void ExpectReportedAndRunGoesOn() {
        const auto box = WaitForMessageBox(*program);
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(program->TopLevelWindow(DialogClass), nullptr) << "the dialog came up before the error box";
        EXPECT_EQ(box->caption, ApplicationTitle);
        EXPECT_EQ(box->text, L"Cannot open file license.txt.");
        EXPECT_EQ(box->owner, program->TopLevelWindow(ApplicationClass, false));
        ASSERT_TRUE(DismissMessageBox(box->window));

        ASSERT_NO_FATAL_FAILURE(WaitForDialog());
        ASSERT_TRUE(Press(dialog.window, AltF4));
        ASSERT_NO_FATAL_FAILURE(WaitForLicenceWindow());
        EXPECT_EQ(Text(licence.window), LicenceDesignCaption);
        EXPECT_EQ(Text(licence.text), LicenceDesignText);
        ASSERT_TRUE(Press(licence.window, Enter));
        ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
    }
};

TEST_F(UnreadableLicenceTest, MissingFile) {
    ASSERT_NO_FATAL_FAILURE(Start(std::nullopt));
    ExpectReportedAndRunGoesOn();
}

// Opened by someone else with no sharing at all.
TEST_F(UnreadableLicenceTest, LockedFile) {
    ASSERT_TRUE(directory.WriteFile(L"license.txt", DefaultLicence));
    HANDLE lock = ::CreateFileW((directory.Path() + L"\\license.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const std::unique_ptr<void, decltype(&::CloseHandle)> closer(lock, &::CloseHandle);
    ASSERT_NO_FATAL_FAILURE(Start(std::nullopt));
    ExpectReportedAndRunGoesOn();
}

} // namespace
} // namespace e2e
