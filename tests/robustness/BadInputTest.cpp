// Bad input, end to end: licence files the program cannot show as they are, stored values no
// program of ours writes, the record's key taken away under the open dialog. Each case starts
// the real program and carries the run through to Register: whatever the input, the program
// shows it or reports it in one clear error box, goes on to the dialog, and stores what the
// dialog holds. A crash, a hang or a lost record fails the case.
#include "RunSupport.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <random>

namespace robustness {
namespace {

using namespace e2e;

const std::wstring CannotOpenLicence = L"Cannot open file license.txt.";
const std::wstring MemoCapacity = L"Text exceeds memo capacity.";

// Bounded, yet generous: under Wine the licence box takes about 1.2 s per MiB of plain lines
// and about 30 s per MiB of text with no spaces to wrap at (random bytes).
constexpr milliseconds LargeInputTimeout{120000};
constexpr milliseconds HugeInputTimeout{240000};

// What a case keeps in place while the program runs (an open file, a directory); let go at the end.
using Held = std::shared_ptr<void>;

struct BadInput {
    const char* name;
    std::function<Held(const ScratchDirectory&)> prepare;
    // Every acceptable sequence of error box texts before the dialog; {{}} when none may come.
    std::vector<std::vector<std::wstring>> acceptedBoxes;
    // The licence window, still hidden behind the dialog, given the boxes that came.
    std::function<void(const LicenceWindow&, const std::vector<SeenBox>&)> checkLicence;
    std::function<void(HWND nameBox)> checkName;
    // Done by this process while the dialog is up.
    std::function<void()> whileDialogIsUp;
    milliseconds timeout = DefaultTimeout;
};

void PrintTo(const BadInput& row, std::ostream* out) {
    *out << row.name;
}

// ---- Licence files

std::string Join(const std::vector<SeenBox>& boxes) {
    std::string text;
    for (const SeenBox& box : boxes) text += (text.empty() ? "\"" : ", \"") + Narrow(box.text) + "\"";
    return text.empty() ? "none" : text;
}

Held WriteLicence(const ScratchDirectory& directory, const std::string& bytes) {
    EXPECT_TRUE(directory.WriteFile(L"license.txt", bytes)) << "cannot write license.txt";
    return nullptr;
}

// 100 MiB of plain ASCII lines: every character is one character of the box's text.
const std::string& HugeLicence() {
    static const std::string text = [] {
        constexpr std::size_t Size = 100u << 20;
        std::string bytes;
        bytes.reserve(Size + 128);
        for (unsigned clause = 0; bytes.size() < Size; ++clause) {
            bytes += "Clause " + std::to_string(clause) +
                     ": the licensee keeps this notice with every copy of the software.\r\n";
        }
        bytes.resize(Size);
        return bytes;
    }();
    return text;
}

// 1 MiB of random bytes; with `nul`, NUL bytes come as often as any other. The first byte is
// a letter, so that no byte order mark makes the file UTF-16 or UTF-8 by chance.
std::string RandomBytes(bool nul) {
    std::mt19937 generator(20240611);
    std::uniform_int_distribution<int> byte(nul ? 0 : 1, 255);
    std::string bytes(1u << 20, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(generator));
    bytes[0] = 'R';
    return bytes;
}

// What the box shows of single-byte text in the system code page: up to the first NUL, every
// CR, LF and CR LF a line break.
std::wstring ShownAsCodePageText(std::string_view bytes) {
    bytes = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
    std::wstring decoded(bytes.size(), L'\0');
    decoded.resize(static_cast<std::size_t>(::MultiByteToWideChar(
        CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), decoded.data(), static_cast<int>(decoded.size()))));
    std::wstring text;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == L'\r' || decoded[i] == L'\n') {
            if (decoded[i] == L'\r' && i + 1 < decoded.size() && decoded[i + 1] == L'\n') ++i;
            text += L"\r\n";
        } else {
            text += decoded[i];
        }
    }
    return text;
}

// Another program writing license.txt: it lets others read but the program denies writers.
Held LicenceOpenForWriting(const ScratchDirectory& directory) {
    WriteLicence(directory, "Terms of use.");
    HANDLE file = ::CreateFileW((directory.Path() + L"\\license.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "cannot open license.txt for writing";
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return Held(file, &::CloseHandle);
}

Held DirectoryNamedLicence(const ScratchDirectory& directory) {
    const auto path = std::make_shared<std::wstring>(directory.Path() + L"\\license.txt");
    EXPECT_TRUE(::CreateDirectoryW(path->c_str(), nullptr)) << "cannot make the directory";
    // The scratch directory removes files only.
    return Held(path.get(), [path](void*) { ::RemoveDirectoryW(path->c_str()); });
}

void ExpectLicenceWindowAsDesigned(const LicenceWindow& window, const std::vector<SeenBox>&) {
    EXPECT_EQ(Text(window.window), LicenceDesignCaption);
    EXPECT_EQ(Text(window.text), LicenceDesignText);
}

std::function<void(const LicenceWindow&, const std::vector<SeenBox>&)> ExpectShown(std::wstring expected) {
    return [expected](const LicenceWindow& window, const std::vector<SeenBox>&) {
        EXPECT_EQ(Text(window.window), ApplicationTitle);
        const auto shown = Text(window.text);
        ASSERT_TRUE(shown) << "the licence box does not answer";
        EXPECT_EQ(shown->size(), expected.size());
        EXPECT_TRUE(*shown == expected) << "the licence box does not show the file's text";
    };
}

// Shown whole, or refused as too much for the box: then the window keeps its design caption.
void ExpectHugeLicenceShownOrRefused(const LicenceWindow& window, const std::vector<SeenBox>& boxes) {
    const auto length = TextLength(window.text);
    ASSERT_TRUE(length) << "the licence box does not answer";
    std::cout << "100 MiB licence: " << (boxes.empty() ? "shown, " : "refused, ") << *length
              << " characters in the box\n";
    if (boxes.empty()) {
        EXPECT_EQ(Text(window.window), ApplicationTitle);
        EXPECT_EQ(*length, HugeLicence().size());
    } else {
        EXPECT_EQ(Text(window.window), LicenceDesignCaption);
    }
}

// ---- Stored values

Held StoreRaw(const std::wstring& name, DWORD type, std::wstring_view units) {
    EXPECT_TRUE(RecordKey::SetRaw(name, type, units.data(), static_cast<DWORD>(units.size() * sizeof(wchar_t))));
    return nullptr;
}

// 1 Mi characters, numbered, so that a cut shows where it was made.
const std::wstring& MegabyteName() {
    static const std::wstring name = [] {
        std::wstring text;
        for (unsigned part = 0; text.size() < (1u << 20); ++part) text += L"Ada " + std::to_wstring(part) + L" ";
        text.resize(1u << 20);
        return text;
    }();
    return name;
}

std::function<void(HWND)> ExpectName(std::wstring expected) {
    return [expected](HWND box) { EXPECT_EQ(Text(box), expected); };
}

// The box may hold the whole name or cut it at its limit, but never anything else.
void ExpectMegabyteNameWholeOrCut(HWND box) {
    const auto shown = Text(box);
    ASSERT_TRUE(shown) << "the name box does not answer";
    std::cout << "1 Mi character name: " << shown->size() << " characters in the box\n";
    EXPECT_FALSE(shown->empty());
    EXPECT_TRUE(MegabyteName().starts_with(*shown)) << "the box shows other text than the stored name's start";
}

void DeleteRecordKey() {
    RecordKey::Delete();
    EXPECT_FALSE(RecordKey::Exists()) << "cannot delete the key";
}

class BadInputTest : public RecordFixture, public ::testing::WithParamInterface<BadInput> {
protected:
    ScratchDirectory directory;
    Held held;  // after the directory, so that it is let go first
};

TEST_P(BadInputTest, RunGoesOnAndRegisterStoresWhatTheDialogHolds) {
    const BadInput& row = GetParam();
    held = row.prepare(directory);
    ASSERT_FALSE(HasFailure()) << "cannot put the input in place";
    Program& program = Start(directory.Path());
    ASSERT_TRUE(program.Started()) << "cannot start the program: error " << program.StartError();

    const auto started = std::chrono::steady_clock::now();
    const StartUp start = RunToDialog(program, row.timeout);
    std::cout << "registration dialog up after "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() << " s\n";
    std::vector<std::wstring> texts;
    for (const SeenBox& box : start.boxes) {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, ApplicationTitle);
    }
    EXPECT_NE(std::find(row.acceptedBoxes.begin(), row.acceptedBoxes.end(), texts), row.acceptedBoxes.end())
        << "error boxes: " << Join(start.boxes);
    ASSERT_TRUE(start.dialog) << start.failure << "; error boxes: " << Join(start.boxes);
    const RegistrationDialog& dialog = *start.dialog;

    const auto licence = LicenceWindow::From(program.TopLevelWindow(LicenceClass, false));
    ASSERT_TRUE(licence) << "no licence window with its four controls";
    if (row.checkLicence) row.checkLicence(*licence, start.boxes);
    if (row.checkName) row.checkName(dialog.name);
    if (row.whileDialogIsUp) row.whileDialogIsUp();

    if (TextLength(dialog.name).value_or(0) == 0) {
        ASSERT_TRUE(Type(dialog.name, L"Ada"));
        ASSERT_TRUE(WaitUntil([&] { return Text(dialog.name) == L"Ada"; })) << "typing did not arrive";
    }
    const auto name = Text(dialog.name);
    const auto organization = Text(dialog.organization);
    ASSERT_TRUE(name && organization) << "the dialog does not answer";
    ASSERT_TRUE(Press(dialog.window, Enter));

    const auto status = program.WaitForExit(row.timeout);
    ASSERT_TRUE(status) << "the run did not end after Register and was killed";
    EXPECT_EQ(*status, 0u);
    for (const auto& [valueName, text] : {std::pair{L"Name", *name}, std::pair{L"Organization", *organization}}) {
        const auto value = RecordKey::Read(valueName);
        ASSERT_TRUE(value) << Narrow(valueName) << " was not stored";
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << Narrow(valueName);
        EXPECT_TRUE(value->data == StringData(text))
            << Narrow(valueName) << " holds " << value->data.size() << " bytes, not the box's " << text.size()
            << " characters";
    }
}

const BadInput Rows[] = {
    {"HundredMebibyteLicence", [](const auto& d) { return WriteLicence(d, HugeLicence()); },
     {{}, {MemoCapacity}}, ExpectHugeLicenceShownOrRefused, nullptr, nullptr, HugeInputTimeout},
    {"RandomBytesAsLicence", [](const auto& d) { return WriteLicence(d, RandomBytes(true)); }, {{}},
     ExpectShown(ShownAsCodePageText(RandomBytes(true)))},
    {"RandomBytesWithoutNulAsLicence", [](const auto& d) { return WriteLicence(d, RandomBytes(false)); }, {{}},
     ExpectShown(ShownAsCodePageText(RandomBytes(false))), nullptr, nullptr, LargeInputTimeout},
    {"LicenceOpenForWritingElsewhere", LicenceOpenForWriting, {{CannotOpenLicence}},
     ExpectLicenceWindowAsDesigned},
    {"DirectoryNamedLicence", DirectoryNamedLicence, {{CannotOpenLicence}}, ExpectLicenceWindowAsDesigned},
    {"MebiCharacterName",
     [](const auto& d) {
         EXPECT_TRUE(RecordKey::SetString(L"Name", MegabyteName()));
         return WriteLicence(d, "Terms.");
     },
     {{}}, nullptr, ExpectMegabyteNameWholeOrCut},
    {"NameAsMultiString",
     [](const auto& d) {
         StoreRaw(L"Name", REG_MULTI_SZ, {L"Ada\0Byron\0", 11});
         return WriteLicence(d, "Terms.");
     },
     {{}}, nullptr, ExpectName(L"")},
    {"NameWithoutTerminatingNul",
     [](const auto& d) {
         StoreRaw(L"Name", REG_SZ, L"Ada Lovelace");
         return WriteLicence(d, "Terms.");
     },
     {{}}, nullptr, ExpectName(L"Ada Lovelace")},
    // Half a character at the end, as a program writing byte counts wrongly leaves it.
    {"NameOfAnOddByteCount",
     [](const auto& d) {
         EXPECT_TRUE(RecordKey::SetRaw(L"Name", REG_SZ, L"Ada!", 7));
         return WriteLicence(d, "Terms.");
     },
     {{}}, nullptr, ExpectName(L"Ada")},
    // Another program (an uninstaller, say) removes the record while the user types.
    {"KeyDeletedWhileTheDialogIsUp",
     [](const auto& d) {
         EXPECT_TRUE(RecordKey::SetString(L"Name", L"Ada Lovelace"));
         EXPECT_TRUE(RecordKey::SetString(L"Organization", L"Analytical Engines Ltd"));
         return WriteLicence(d, "Terms.");
     },
     {{}}, nullptr, ExpectName(L"Ada Lovelace"), DeleteRecordKey},
};

INSTANTIATE_TEST_SUITE_P(, BadInputTest, ::testing::ValuesIn(Rows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace robustness
