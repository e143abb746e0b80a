#include "TextDecoding.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

using namespace std::string_literals;

namespace platform {
namespace {

// Stands in for the system code page: Windows-1252 for the bytes the cases use, counting calls so
// that a test can tell which decoder produced the text.
struct FakeCodePage {
    int calls = 0;

    CodePageDecoder Decoder() {
        return [this](std::string_view bytes) {
            ++calls;
            std::u16string text(bytes.size(), u'\0');
            char16_t* o = text.data();
            for (const char c : bytes) {
                const auto byte = static_cast<unsigned char>(c);
                *o++ = byte == 0x80 ? u'\u20AC' : byte == 0x9C ? u'\u0153' : static_cast<char16_t>(byte);
            }
            return text;
        };
    }
};

// What the licence box shows for a file's bytes.
std::u16string ShownText(std::string_view bytes, const CodePageDecoder& decoder) {
    return NormalizeLineBreaks(DecodeText(bytes, decoder));
}

struct FileCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    std::u16string shown;
};

TEST(TextDecodingTest, DecodesLicenceFiles) {
    const FileCase cases[] = {
        {"empty file", "", TextEncoding::SystemCodePage, u""},
        {"CR LF", "one\r\ntwo\r\n", TextEncoding::SystemCodePage, u"one\r\ntwo\r\n"},
        {"LF", "one\ntwo\n", TextEncoding::SystemCodePage, u"one\r\ntwo\r\n"},
        {"CR", "one\rtwo\r", TextEncoding::SystemCodePage, u"one\r\ntwo\r\n"},
        {"LF CR is two breaks", "one\n\rtwo", TextEncoding::SystemCodePage, u"one\r\n\r\ntwo"},
        {"CR CR LF", "one\r\r\ntwo", TextEncoding::SystemCodePage, u"one\r\n\r\ntwo"},
        {"CR LF LF", "one\r\n\ntwo", TextEncoding::SystemCodePage, u"one\r\n\r\ntwo"},
        {"leading break", "\nfirst", TextEncoding::SystemCodePage, u"\r\nfirst"},
        {"NUL in the middle", "line 1\r\nline\0 2\r\n"s, TextEncoding::SystemCodePage, u"line 1\r\nline"},
        {"NUL first", "\0text"s, TextEncoding::SystemCodePage, u""},
        {"pure ASCII", "Hello, world", TextEncoding::SystemCodePage, u"Hello, world"},
        {"code page bytes", "Caf\xE9 M\xFCnchen \x80 \x9C", TextEncoding::SystemCodePage,
         u"Caf\u00E9 M\u00FCnchen \u20AC \u0153"},
        {"invalid UTF-8", "\xC3(", TextEncoding::SystemCodePage, u"\u00C3("},
        {"overlong UTF-8", "\xC0\xAF", TextEncoding::SystemCodePage, u"\u00C0\u00AF"},
        {"UTF-8 encoded surrogate", "\xED\xA0\x80", TextEncoding::SystemCodePage, u"\u00ED\u00A0\u20AC"},
        {"truncated UTF-8", "abc\xE2\x82", TextEncoding::SystemCodePage, u"abc\u00E2\u0082"},
        {"big-endian BOM", "\xFE\xFF\0a"s, TextEncoding::SystemCodePage, u"\u00FE\u00FF"},
        {"valid UTF-8 without BOM", "Caf\xC3\xA9\nfin", TextEncoding::Utf8, u"Caf\u00E9\r\nfin"},
        {"UTF-8 without BOM, four-byte sequence", "\xF0\x9F\x98\x80", TextEncoding::Utf8, u"\U0001F600"},
        {"valid UTF-8 before NUL, garbage after", "\xC3\xA9\0\xFF"s, TextEncoding::Utf8, u"\u00E9"},
        {"UTF-8 BOM", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e\n", TextEncoding::Utf8WithBom, u"Gr\u00FC\u00DFe\r\n"},
        {"UTF-8 BOM, ASCII text", "\xEF\xBB\xBFplain", TextEncoding::Utf8WithBom, u"plain"},
        {"UTF-8 BOM only", "\xEF\xBB\xBF", TextEncoding::Utf8WithBom, u""},
        {"UTF-8 BOM with NUL", "\xEF\xBB\xBF" "ab\0cd"s, TextEncoding::Utf8WithBom, u"ab"},
        {"UTF-8 BOM with an ill-formed byte", "\xEF\xBB\xBF" "a\xFF" "b", TextEncoding::Utf8WithBom, u"a\uFFFDb"},
        {"UTF-16LE BOM", "\xFF\xFE" "a\0\r\0\n\0\xE9\0\n\0\x2D\x4E"s, TextEncoding::Utf16LeWithBom,
         u"a\r\n\u00E9\r\n\u4E2D"},
        {"UTF-16LE surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, TextEncoding::Utf16LeWithBom, u"\U0001F600"},
        {"UTF-16LE odd trailing byte", "\xFF\xFEh\0i\0x"s, TextEncoding::Utf16LeWithBom, u"hi"},
        {"UTF-16LE NUL", "\xFF\xFE" "a\0\0\0b\0"s, TextEncoding::Utf16LeWithBom, u"a"},
        // A zero byte is not a NUL character in UTF-16.
        {"UTF-16LE zero low byte", "\xFF\xFE\0\x4E" "b\0"s, TextEncoding::Utf16LeWithBom, u"\u4E00b"},
        {"UTF-16LE BOM only", "\xFF\xFE", TextEncoding::Utf16LeWithBom, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // An exactly sized copy, so that reading past the bytes is a heap overflow.
        const std::string bytes(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(DetectTextEncoding(bytes), c.encoding);
        FakeCodePage codePage;
        EXPECT_EQ(ShownText(bytes, codePage.Decoder()), c.shown);
        EXPECT_EQ(codePage.calls, c.encoding == TextEncoding::SystemCodePage ? 1 : 0);
    }
}

TEST(TextDecodingTest, OnlyCarriageReturnAndLineFeedBreakLines) {
    const struct {
        std::u16string text;
        std::u16string expected;
    } cases[] = {
        {u"\r\n\r\n", u"\r\n\r\n"},
        {u"\n\n", u"\r\n\r\n"},
        {u"\r\r", u"\r\n\r\n"},
        {u"\n\r\n", u"\r\n\r\n"},
        {u"\r", u"\r\n"},
        {u"a\u2028b\u0085c\vd\fe", u"a\u2028b\u0085c\vd\fe"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(NormalizeLineBreaks(c.text), c.expected);
    }
}

enum class BigFileKind { CodePage, Utf8 };

struct BigFile {
    std::string bytes;
    std::u16string shown;
};

// Widens through a pointer: building tens of megabytes one push_back at a time is slow unoptimised.
void AppendWidened(std::u16string& text, std::string_view ascii) {
    const std::size_t at = text.size();
    text.resize(at + ascii.size());
    char16_t* o = text.data() + at;
    for (const char c : ascii) *o++ = static_cast<char16_t>(c);
}

// A block of numbered ASCII lines with every kind of line break in turn, repeated, then one line
// with a non-ASCII character, so that telling UTF-8 from code page text takes the whole file.
BigFile MakeBigFile(BigFileKind kind, std::size_t minimumSize) {
    static constexpr std::string_view breaks[] = {"\r\n", "\n", "\r", "\n\r"};
    BigFile block;
    char text[96];
    for (std::size_t line = 0; line < 1024; ++line) {
        const int length = std::snprintf(text, sizeof text, "Line %07zu: the licensee may evaluate this copy.", line);
        block.bytes.append(text, length);
        AppendWidened(block.shown, std::string_view(text, length));
        const std::string_view lineBreak = breaks[line % std::size(breaks)];
        block.bytes.append(lineBreak);
        block.shown.append(lineBreak == "\n\r" ? u"\r\n\r\n" : u"\r\n");
    }

    BigFile file;
    const std::size_t copies = minimumSize / block.bytes.size() + 1;
    file.bytes.reserve(copies * block.bytes.size() + 16);
    file.shown.reserve(copies * block.shown.size() + 16);
    for (std::size_t i = 0; i < copies; ++i) {
        file.bytes.append(block.bytes);
        file.shown.append(block.shown);
    }
    file.bytes.append(kind == BigFileKind::CodePage ? "Caf\xE9\n" : "Caf\xC3\xA9\n");
    file.shown.append(u"Caf\u00E9\r\n");
    return file;
}

class BigFileTest : public testing::TestWithParam<BigFileKind> {};

TEST_P(BigFileTest, DecodesFiftyMegabytesQuickly) {
    const BigFile file = MakeBigFile(GetParam(), 50u << 20);
    FakeCodePage codePage;

    const auto start = std::chrono::steady_clock::now();
    const std::u16string shown = ShownText(file.bytes, codePage.Decoder());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    RecordProperty("seconds", std::to_string(elapsed.count()));

    EXPECT_EQ(codePage.calls, GetParam() == BigFileKind::CodePage ? 1 : 0);
    ASSERT_EQ(shown.size(), file.shown.size());
    EXPECT_EQ(shown.substr(0, 20), u"Line 0000000: the li");
    EXPECT_EQ(shown.substr(shown.size() - 6), u"Caf\u00E9\r\n");
    if (shown != file.shown) {
        // The whole text is far too long for a failure message; show where it starts to differ.
        std::size_t at = 0;
        while (shown[at] == file.shown[at]) ++at;
        ADD_FAILURE() << "differs at " << at << ": " << testing::PrintToString(shown.substr(at, 40)) << " instead of "
                      << testing::PrintToString(file.shown.substr(at, 40));
    }
    // Generous even under sanitizers; a decoder that is not linear takes minutes.
    EXPECT_LT(elapsed.count(), 20.0);
}

INSTANTIATE_TEST_SUITE_P(Encodings, BigFileTest,
                         testing::Values(BigFileKind::CodePage, BigFileKind::Utf8),
                         [](const testing::TestParamInfo<BigFileKind>& info) {
                             return info.param == BigFileKind::CodePage ? "CodePage" : "Utf8";
                         });

// Well-formed UTF-8 and the UTF-16 it stands for, checked in both directions.
struct UtfPair {
    std::string utf8;
    std::u16string utf16;
};

const UtfPair WellFormed[] = {
    {"", u""},
    {"A", u"A"},
    {"\0"s, u"\0"s},
    {"\x7F", u"\u007F"},
    {"\xC2\x80", u"\u0080"},
    {"\xC3\xA9", u"\u00E9"},
    {"\xDF\xBF", u"\u07FF"},
    {"\xE0\xA0\x80", u"\u0800"},
    {"\xE2\x82\xAC", u"\u20AC"},
    {"\xED\x9F\xBF", u"\uD7FF"},
    {"\xEE\x80\x80", u"\uE000"},
    {"\xEF\xBF\xBF", u"\uFFFF"},
    {"\xF0\x90\x80\x80", u"\U00010000"},
    {"\xF0\x9F\x98\x80", u"\U0001F600"},
    {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    {"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", u"Gr\u00FC\u00DFe \u20AC"},
};

TEST(UtfTest, ConvertsWellFormedTextBothWays) {
    for (const auto& pair : WellFormed) {
        SCOPED_TRACE(testing::PrintToString(pair.utf16));
        EXPECT_EQ(DecodeUtf8Strict(pair.utf8), pair.utf16);
        EXPECT_EQ(DecodeUtf8(pair.utf8), pair.utf16);
        EXPECT_EQ(EncodeUtf8(pair.utf16), pair.utf8);
    }
}

// Ill-formed UTF-8 and what lenient decoding makes of it: one U+FFFD for each maximal part of
// a sequence that could have been well-formed, as Unicode recommends.
struct IllFormedCase {
    const char* name;
    std::string utf8;
    std::u16string lenient;
};

TEST(UtfTest, RejectsOrReplacesIllFormedUtf8) {
    const IllFormedCase cases[] = {
        {"overlong NUL", "\xC0\x80", u"\uFFFD\uFFFD"},
        {"overlong two-byte", "\xC1\xBF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD"},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"high surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"low surrogate", "\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"lead byte F5", "\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"five-byte form", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"byte FF", "a\xFF" "b", u"a\uFFFD" u"b"},
        {"lone continuation bytes", "\x80\xBF", u"\uFFFD\uFFFD"},
        {"bad continuation", "\xC3(", u"\uFFFD("},
        {"truncated two-byte at end", "a\xC3", u"a\uFFFD"},
        {"truncated three-byte at end", "a\xE2\x82", u"a\uFFFD"},
        {"truncated four-byte at end", "\xF0\x9F\x98", u"\uFFFD"},
        {"truncated sequence before ASCII", "\xE2\x82" "A", u"\uFFFD" u"A"},
        {"truncated sequence before another", "\xF0\x9F\xC3\xA9", u"\uFFFD\u00E9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes(c.utf8.data(), c.utf8.size());
        EXPECT_EQ(DecodeUtf8Strict(bytes), std::nullopt);
        EXPECT_EQ(DecodeUtf8(bytes), c.lenient);
    }
}

TEST(UtfTest, EncodesUnpairedSurrogatesAsReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        const char* name;
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {"high surrogate before ASCII", u"\xD800" u"a", replacement + "a"},
        {"high surrogate at end", u"a\xD83D", "a" + replacement},
        {"low surrogate alone", u"\xDC00", replacement},
        {"pair in reverse order", u"\xDE00\xD83D", replacement + replacement},
        {"two high surrogates, then a low one", u"\xD800\xD800\xDC00", replacement + "\xF0\x90\x80\x80"},
        {"high surrogate before a non-surrogate", u"\xD800\u00E9", replacement + "\xC3\xA9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EncodeUtf8(c.utf16), c.utf8);
    }
}

} // namespace
} // namespace platform
