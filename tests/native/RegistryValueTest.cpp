#include "RegistryValue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr std::uint32_t RegTypeNone = 0;
constexpr std::uint32_t RegTypeBinary = 3;
constexpr std::uint32_t RegTypeDword = 4;
constexpr std::uint32_t RegTypeMultiSz = 7;
constexpr std::uint32_t RegTypeQword = 11;

std::vector<unsigned char> Utf16LeBytes(std::u16string_view text) {
    std::vector<unsigned char> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

std::vector<unsigned char> Concat(std::vector<unsigned char> bytes, std::initializer_list<unsigned char> tail) {
    bytes.insert(bytes.end(), tail);
    return bytes;
}

struct RegistryCase {
    const char* name;
    std::uint32_t type;
    std::vector<unsigned char> data;
    std::optional<std::u16string> expected;
};

TEST(RegistryValueTest, DecodesStringValuesAndRejectsOtherTypes) {
    const RegistryCase cases[] = {
        {"terminated REG_SZ", RegTypeSz, Utf16LeBytes(std::u16string(u"Jane Doe\0", 9)), u"Jane Doe"},
        {"REG_SZ without terminator", RegTypeSz, Utf16LeBytes(u"Jane"), u"Jane"},
        {"odd final byte", RegTypeSz, Concat(Utf16LeBytes(u"Jo"), {'x'}), u"Jo"},
        {"one byte only", RegTypeSz, {'A'}, u""},
        {"terminator only", RegTypeSz, {0, 0}, u""},
        {"embedded NUL", RegTypeSz, Utf16LeBytes(std::u16string(u"Ab\0cd\0", 6)), u"Ab"},
        {"little-endian units", RegTypeSz, {0x2D, 0x4E, 0xEB, 0x00, 0x00, 0x01}, u"\u4E2D\u00EB\u0100"},
        {"surrogate pair", RegTypeSz, Utf16LeBytes(u"\U0001F600"), u"\U0001F600"},
        {"expandable stays unexpanded", RegTypeExpandSz, Utf16LeBytes(std::u16string(u"%PATH%\\bin\0", 11)),
         u"%PATH%\\bin"},
        {"REG_DWORD", RegTypeDword, {1, 0, 0, 0}, std::nullopt},
        {"REG_QWORD", RegTypeQword, {1, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"REG_BINARY holding text", RegTypeBinary, Utf16LeBytes(u"Jane"), std::nullopt},
        {"REG_MULTI_SZ", RegTypeMultiSz, Utf16LeBytes(std::u16string(u"a\0b\0\0", 5)), std::nullopt},
        {"REG_NONE", RegTypeNone, {'a', 0}, std::nullopt},
        {"unknown type", 0xFFFFFFFFu, {'a', 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // An exactly sized copy, so that reading past the data is a heap overflow.
        const std::vector<unsigned char> data(c.data.begin(), c.data.end());
        EXPECT_EQ(DecodeRegistryString(c.type, data), c.expected);
    }
}

TEST(RegistryValueTest, ZeroSizeDataOfAnyTypeIsTheEmptyString) {
    for (const std::uint32_t type : {RegTypeNone, RegTypeSz, RegTypeExpandSz, RegTypeBinary, RegTypeDword,
                                     RegTypeMultiSz, RegTypeQword, 0xFFFFFFFFu}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(DecodeRegistryString(type, {}), std::optional<std::u16string>(u""));
    }
}

} // namespace
} // namespace platform
