#include "ProgramTest.h"

namespace e2e {

std::wstring ProgramPath() {
    return WindowsPath(REGISTER_EXE);
}

std::wstring ErrorBoxText(std::wstring message) {
    if (!message.empty() && message.back() > L'.') message.push_back(L'.');
    return message;
}

std::optional<std::vector<BYTE>> StoredBytes(const std::wstring& valueName) {
    const auto value = RecordKey::Read(valueName);
    if (!value) return std::nullopt;
    return value->data;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text;
}

void ProgramTest::SetUp() {
    RecordKey::Delete();
    ASSERT_FALSE(RecordKey::Exists()) << "a record left from elsewhere cannot be removed";
}

void ProgramTest::TearDown() {
    program.reset();
    RecordKey::Delete();
}

void ProgramTest::Start(const std::optional<std::string>& licenceBytes, std::optional<WORD> show) {
    if (licenceBytes) {
        ASSERT_TRUE(directory.WriteFile(L"license.txt", *licenceBytes));
    }
    program = std::make_unique<Program>(ProgramPath(), directory.Path(), show);
    ASSERT_TRUE(program->Started()) << "cannot start " << Narrow(ProgramPath()) << ": error "
                                    << program->StartError();
}

void ProgramTest::StartToDialog(const std::optional<std::string>& licenceBytes) {
    ASSERT_NO_FATAL_FAILURE(Start(licenceBytes));
    ASSERT_NO_FATAL_FAILURE(WaitForDialog());
}

void ProgramTest::WaitForDialog() {
    HWND window = program->WaitForWindow(DialogClass);
    ASSERT_NE(window, nullptr) << "no registration dialog came up";
    const auto found = RegistrationDialog::From(window);
    ASSERT_TRUE(found) << "the registration dialog does not have its seven controls";
    dialog = *found;
    ASSERT_TRUE(program->WaitForFocus(dialog.name)) << "the name box never got the focus";
}

void ProgramTest::WaitForLicenceWindow() {
    HWND window = program->WaitForWindow(LicenceClass);
    ASSERT_NE(window, nullptr) << "no licence window came up";
    const auto found = LicenceWindow::From(window);
    ASSERT_TRUE(found) << "the licence window does not have its four controls";
    licence = *found;
    ASSERT_TRUE(program->WaitForFocus(licence.agreeButton)) << "\"I agree\" never got the focus";
}

std::optional<LicenceWindow> ProgramTest::HiddenLicenceWindow() const {
    return LicenceWindow::From(program->TopLevelWindow(LicenceClass, false));
}

void ProgramTest::TypeAndWait(HWND box, const std::wstring& text, const std::wstring& expected) {
    ASSERT_TRUE(Type(box, text));
    ASSERT_TRUE(WaitUntil([&] { return Text(box) == expected; }))
        << "the box holds \"" << Narrow(Text(box).value_or(L"<no answer>")) << "\", not \"" << Narrow(expected)
        << "\"";
}

void ProgramTest::PressAndWaitForFocus(Key key, HWND focus) {
    ASSERT_TRUE(Press(focus, key));
    ASSERT_TRUE(program->WaitForFocus(focus)) << "the focus is on a " << Narrow(ClassName(program->FocusedWindow()))
                                              << " \"" << Narrow(Text(program->FocusedWindow()).value_or(L""))
                                              << "\"";
}

void ProgramTest::ExpectExit(DWORD status) {
    const auto ended = program->WaitForExit();
    ASSERT_TRUE(ended) << "the program did not end in time and was killed";
    EXPECT_EQ(*ended, status);
}

void ProgramTest::ExpectStillWaiting(HWND window) const {
    EXPECT_TRUE(program->Running()) << "the program ended";
    EXPECT_TRUE(::IsWindowVisible(window)) << "the " << Narrow(ClassName(window)) << " window is gone";
}

} // namespace e2e
