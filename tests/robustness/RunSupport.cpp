#include "RunSupport.h"

#include <memory>

namespace robustness {

using namespace e2e;

std::wstring ProgramPath() {
    return WindowsPath(REGISTER_EXE);
}

std::wstring ErrorBoxText(std::wstring message) {
    if (!message.empty() && message.back() > L'.') message.push_back(L'.');
    return message;
}

std::optional<std::size_t> TextLength(HWND window, milliseconds timeout) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()),
                               &length)) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(length);
}

std::optional<std::vector<BYTE>> StoredBytes(const std::wstring& valueName) {
    const auto value = RecordKey::Read(valueName);
    if (!value) return std::nullopt;
    return value->data;
}

namespace {

// A thread that was busy for a while (loading a large licence) counts as hung until it next
// asks for a message, and a window it has just shown may be up before that: ask until it answers.
bool AnswersSoon(HWND window, milliseconds timeout) {
    return WaitUntil([&] { return Answers(window, timeout); }, timeout);
}

} // namespace

StartUp RunToDialog(const Program& program, milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    const auto left = [&] {
        return std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
    };
    const std::string waited = std::to_string(timeout.count() / 1000) + " s";
    StartUp result;
    // More than this many boxes in a row is a program that reports in a loop.
    constexpr std::size_t MaxBoxes = 4;
    while (result.boxes.size() <= MaxBoxes) {
        HWND box = nullptr;
        HWND dialog = nullptr;
        const bool seen = WaitUntil(
            [&] {
                box = program.TopLevelWindow(MessageBoxClass);
                dialog = box ? nullptr : program.TopLevelWindow(DialogClass);
                return box || dialog || !program.Running();
            },
            left());
        if (!program.Running()) {
            result.failure = "the program ended before the registration dialog came up";
            return result;
        }
        if (!seen) {
            result.failure = "neither an error box nor the registration dialog came up within " + waited;
            return result;
        }
        if (box) {
            if (!AnswersSoon(box, left())) {
                result.failure = "an error box came up but does not answer";
                return result;
            }
            HWND label = ::GetDlgItem(box, 0xFFFF);
            result.boxes.push_back({Text(box).value_or(L""), label ? Text(label).value_or(L"") : L""});
            DismissMessageBox(box);
            if (!WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, left())) {
                result.failure = "an error box does not go away with OK";
                return result;
            }
            continue;
        }
        if (!AnswersSoon(dialog, left())) {
            result.failure = "the registration dialog came up but does not answer within " + waited;
            return result;
        }
        result.dialog = RegistrationDialog::From(dialog);
        if (!result.dialog) {
            result.failure = "the registration dialog does not have its seven controls";
            return result;
        }
        if (!program.WaitForFocus(result.dialog->name, std::max(left(), milliseconds(1000)))) {
            result.failure = "the name box never got the focus";
            result.dialog.reset();
        }
        return result;
    }
    result.failure = "error boxes keep coming";
    return result;
}

void RecordFixture::SetUp() {
    RecordKey::Delete();
    ASSERT_FALSE(RecordKey::Exists()) << "a record left from elsewhere cannot be removed";
}

void RecordFixture::TearDown() {
    programs_.clear();
    RecordKey::Delete();
}

Program& RecordFixture::Start(const std::wstring& workDir) {
    programs_.push_back(std::make_unique<Program>(ProgramPath(), workDir));
    return *programs_.back();
}

} // namespace robustness
