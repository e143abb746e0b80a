// LoadTextFile against the real file system: sharing with other openers, the relative name,
// decoding through the system code page and the byte order marks, and CR LF line breaks.
#include "Exception.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;
using platform::LoadTextFile;
using testing_support::ProcessHandleCount;
using testing_support::ScratchDirectory;

// The loaded text, or "error: <message>" when loading raises platform::Exception.
std::u16string LoadOutcome(std::u16string_view name) {
    try {
        return LoadTextFile(name);
    } catch (const platform::Exception& error) {
        return u"error: " + error.Message();
    }
}

struct DecodeCase {
    const char* label;
    std::string bytes;
    std::u16string text;
};

class TextFileTest : public ::testing::Test {
protected:
    void ExpectLoads(const DecodeCase& c, std::source_location where = std::source_location::current()) {
        ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), c.label);
        directory.WriteFile(L"license.txt", c.bytes);
        EXPECT_EQ(LoadOutcome(u"license.txt"), c.text);
    }

    ScratchDirectory directory;
};

TEST_F(TextFileTest, LineBreaksBecomeCrLfAndTextEndsAtTheFirstNul) {
    const DecodeCase cases[] = {
        {"empty file", "", u""},
        {"one line", "License terms", u"License terms"},
        {"every kind of break", "a\nb\rc\r\nd\n\re", u"a\r\nb\r\nc\r\nd\r\n\r\ne"},
        {"CR CR LF", "a\r\r\nb", u"a\r\n\r\nb"},
        {"breaks only", "\n\n\r\n", u"\r\n\r\n\r\n"},
        {"trailing break", "end\r\n", u"end\r\n"},
        {"NUL inside", std::string("ab\0cd"sv), u"ab"},
        {"NUL first", std::string("\0abc"sv), u""},
        {"NUL after a break", std::string("a\nb\0\nc"sv), u"a\r\nb"},
        {"NUL at the end", std::string("ab\n\0"sv), u"ab\r\n"},
    };
    for (const DecodeCase& c : cases) ExpectLoads(c);
}

TEST_F(TextFileTest, DecodesByByteOrderMarkOrAsUtf8) {
    const DecodeCase cases[] = {
        {"UTF-8 without BOM", "Zo\xC3\xAB \xC5\x81ukasiewicz \xE6\x97\xA5\xE6\x9C\xAC", u"Zoë Łukasiewicz 日本"},
        {"UTF-8 with BOM", "\xEF\xBB\xBFZo\xC3\xAB\n\xE6\x97\xA5\xE6\x9C\xAC", u"Zoë\r\n日本"},
        {"UTF-8 BOM before ASCII", "\xEF\xBB\xBF" "abc", u"abc"},
        {"UTF-8 BOM alone", "\xEF\xBB\xBF", u""},
        {"UTF-8 with BOM, NUL inside", std::string("\xEF\xBB\xBF" "a\0b"sv), u"a"},
        {"UTF-16LE with BOM", std::string("\xFF\xFEZ\0o\0\xEB\0\n\0\xE5\x65\x2C\x67"sv), u"Zoë\r\n日本"},
        {"UTF-16LE breaks", std::string("\xFF\xFE" "a\0\r\0b\0\n\0\r\0c\0"sv), u"a\r\nb\r\n\r\nc"},
        {"UTF-16LE, NUL inside", std::string("\xFF\xFE" "a\0\0\0b\0"sv), u"a"},
        {"UTF-16LE, odd final byte", std::string("\xFF\xFE" "a\0b"sv), u"a"},
        {"UTF-16LE BOM alone", "\xFF\xFE", u""},
    };
    for (const DecodeCase& c : cases) ExpectLoads(c);
}

TEST_F(TextFileTest, DecodesOtherBytesThroughTheSystemCodePage) {
    if (::GetACP() != 1252) GTEST_SKIP() << "expectations are for code page 1252, the system has " << ::GetACP();
    const DecodeCase cases[] = {
        {"Latin-1 letter", "caf\xE9", u"café"},
        // 0x80..0x9F is where 1252 differs from Latin-1.
        {"euro sign and quotes", "\x80 5 \x93ok\x94", u"€ 5 “ok”"},
        {"ill-formed UTF-8 is not UTF-8", "\xC3\xA9 \xE9", u"Ã© é"},
        {"truncated UTF-8 sequence", "ab\xC3", u"abÃ"},
        {"code page text with breaks", "\xE9\n\xE8\r", u"é\r\nè\r\n"},
    };
    for (const DecodeCase& c : cases) ExpectLoads(c);
}

TEST_F(TextFileTest, LargeFileIsReadWhole) {
    // Over 16 MiB, so the file cannot come in one read of a modest buffer.
    std::string bytes;
    std::u16string expected;
    for (int line = 0; bytes.size() < (17u << 20); ++line) {
        const std::string text = "line " + std::to_string(line) + " of the licence agreement";
        bytes += text + "\n";
        expected.append(text.begin(), text.end());
        expected += u"\r\n";
    }
    bytes += "end";
    expected += u"end";
    directory.WriteFile(L"license.txt", bytes);
    const std::u16string text = LoadOutcome(u"license.txt");
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected) << "the text differs from the file";
}

// Other readers may hold the file; a writer, or anyone denying readers, keeps it from loading.
TEST_F(TextFileTest, OpensWithOtherWritersDenied) {
    struct Case {
        const char* label;
        DWORD access;
        DWORD share;
        bool loads;
    };
    const Case cases[] = {
        {"held for writing, sharing reads", GENERIC_WRITE, FILE_SHARE_READ, false},
        {"held for writing, sharing everything", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
         false},
        {"held for reading and writing", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
        {"held exclusively for reading", GENERIC_READ, 0, false},
        {"held for reading, sharing reads", GENERIC_READ, FILE_SHARE_READ, true},
        {"held for reading, sharing everything", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
    };
    directory.WriteFile(L"license.txt", "terms\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        HANDLE held = ::CreateFileW(L"license.txt", c.access, c.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(LoadOutcome(u"license.txt"), c.loads ? u"terms\r\n" : u"error: Cannot open file license.txt");
        ::CloseHandle(held);
    }
    EXPECT_EQ(LoadOutcome(u"license.txt"), u"terms\r\n") << "loads again once the holder let go";
}

TEST_F(TextFileTest, UnopenableFilesAreReportedByTheNameAsGiven) {
    ASSERT_TRUE(::CreateDirectoryW(L"docs", nullptr));
    ASSERT_TRUE(::CreateDirectoryW(L"docs\\license.txt", nullptr));
    struct Case {
        const char* label;
        std::u16string name;
    };
    const Case cases[] = {
        {"missing", u"license.txt"},
        {"missing below a directory", u"missing\\license.txt"},
        {"a directory", u"docs\\license.txt"},
        {"non-ASCII name", u"Lizenz-Zoë.txt"},
        {"empty name", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(LoadOutcome(c.name), u"error: Cannot open file " + c.name);
    }
    ASSERT_TRUE(::SetCurrentDirectoryW(L"docs"));
    EXPECT_EQ(LoadOutcome(u"license.txt"), u"error: Cannot open file license.txt") << "a directory named license.txt";
    ASSERT_TRUE(::SetCurrentDirectoryW(directory.Path().c_str()));
    ::RemoveDirectoryW(L"docs\\license.txt");
    ::RemoveDirectoryW(L"docs");
}

TEST_F(TextFileTest, TheRelativeNameIsFoundInTheCurrentDirectory) {
    ASSERT_TRUE(::CreateDirectoryW(L"other", nullptr));
    directory.WriteFile(L"license.txt", "outer");
    directory.WriteFile(L"other\\license.txt", "inner");
    EXPECT_EQ(LoadOutcome(u"license.txt"), u"outer");
    ASSERT_TRUE(::SetCurrentDirectoryW(L"other"));
    EXPECT_EQ(LoadOutcome(u"license.txt"), u"inner");
    ASSERT_TRUE(::SetCurrentDirectoryW(directory.Path().c_str()));
    ::DeleteFileW(L"other\\license.txt");
    ::RemoveDirectoryW(L"other");
}

TEST_F(TextFileTest, ReadOnlyFileLoads) {
    directory.WriteFile(L"license.txt", "terms");
    ASSERT_TRUE(::SetFileAttributesW(L"license.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(LoadOutcome(u"license.txt"), u"terms");
}

TEST_F(TextFileTest, TheFileIsClosedAfterLoading) {
    directory.WriteFile(L"license.txt", "terms");
    ASSERT_EQ(LoadOutcome(u"license.txt"), u"terms");
    HANDLE exclusive = ::CreateFileW(L"license.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "the loader still holds the file";
    if (exclusive != INVALID_HANDLE_VALUE) ::CloseHandle(exclusive);

    ASSERT_TRUE(::CreateDirectoryW(L"folder", nullptr));
    const auto loadAll = [] {
        LoadOutcome(u"license.txt");
        LoadOutcome(u"missing.txt");
        LoadOutcome(u"folder");
    };
    loadAll();
    const std::size_t before = ProcessHandleCount();
    // The count must see file handles, or the loop below proves nothing.
    std::vector<HANDLE> held(10);
    for (HANDLE& file : held) {
        file = ::CreateFileW(L"license.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    EXPECT_GE(ProcessHandleCount(), before + held.size());
    for (HANDLE file : held) ::CloseHandle(file);

    for (int i = 0; i < 100; ++i) loadAll();
    EXPECT_LE(ProcessHandleCount(), before);
    ::RemoveDirectoryW(L"folder");
}

} // namespace
