// TRegistry and ReadStringDefault against the real registry: values as other programs store
// them, the exact error messages, access rights, and no key handle outliving its wrapper.
#include "Registry.h"
#include "StdRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;
using platform::ERegistryException;
using platform::TRegistry;
using testing_support::DeleteTree;
using testing_support::ProcessHandleCount;
using testing_support::ScratchKey;

const wchar_t* Wc(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::vector<unsigned char> Utf16Bytes(std::u16string_view text) {
    std::vector<unsigned char> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

// What ReadString gives: the text, or "error: <message>" when it raises ERegistryException.
std::u16string ReadOutcome(const TRegistry& registry, std::u16string_view name) {
    try {
        return registry.ReadString(name);
    } catch (const ERegistryException& error) {
        return u"error: " + error.Message();
    }
}

std::u16string WriteOutcome(TRegistry& registry, std::u16string_view name, std::u16string_view value) {
    try {
        registry.WriteString(name, value);
        return u"written";
    } catch (const ERegistryException& error) {
        return u"error: " + error.Message();
    }
}

// Long texts are compared without printing them whole.
void ExpectSameText(const std::u16string& actual, const std::u16string& expected,
                    std::source_location where = std::source_location::current()) {
    ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "compared here");
    if (expected.size() <= 200) {
        EXPECT_EQ(actual, expected);
        return;
    }
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected) << "a long text differs";
}

// A value's type and bytes exactly as the registry hands them out. The buffer is larger than
// the reported size and pre-filled, so a size that disagrees with the bytes shows.
struct RawValue {
    LONG result = -1;
    DWORD type = 0xBDBDBDBD;
    std::vector<unsigned char> bytes;
};

RawValue QueryRawW(HKEY key, const std::u16string& name) {
    RawValue value;
    DWORD size = 0;
    value.result = ::RegQueryValueExW(key, Wc(name), nullptr, &value.type, nullptr, &size);
    if (value.result != ERROR_SUCCESS) return value;
    value.bytes.assign(size + 16, 0xBD);
    DWORD filled = size + 16;
    value.result = ::RegQueryValueExW(key, Wc(name), nullptr, &value.type, value.bytes.data(), &filled);
    value.bytes.resize(value.result == ERROR_SUCCESS ? filled : 0);
    return value;
}

RawValue QueryRawA(HKEY key, const std::string& name) {
    RawValue value;
    DWORD size = 0;
    value.result = ::RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (value.result != ERROR_SUCCESS) return value;
    value.bytes.assign(size + 16, 0xBD);
    DWORD filled = size + 16;
    value.result = ::RegQueryValueExA(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &filled);
    value.bytes.resize(value.result == ERROR_SUCCESS ? filled : 0);
    return value;
}

// `text` in the ANSI code page; nullopt when that code page has no exact form for it.
std::optional<std::string> Ansi(std::u16string_view text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    if (length == 0) return std::string();
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\xBD');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr, &usedDefault);
    return bytes;
}

bool KeyExists(const std::u16string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wc(path), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// Replaces the key's DACL with the one `sddl` describes.
void SetDacl(const std::u16string& path, const wchar_t* sddl,
             std::source_location where = std::source_location::current()) {
    ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "DACL set here");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Wc(path), 0, WRITE_DAC, &key), ERROR_SUCCESS);
    EXPECT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    ::RegCloseKey(key);
    ::LocalFree(descriptor);
}

class RegistryTest : public ::testing::Test {
protected:
    std::u16string Sub(std::u16string_view name) const { return scratch.Path() + u"\\" + std::u16string(name); }

    // A key below the scratch key holding the string value "Name" = "Ada".
    std::u16string MakeKeyWithName(std::u16string_view name) const {
        const std::u16string path = Sub(name);
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wc(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const auto data = Utf16Bytes(u"Ada\0"sv);
        EXPECT_EQ(::RegSetValueExW(key, L"Name", 0, REG_SZ, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        return path;
    }

    ScratchKey scratch;
};

TEST_F(RegistryTest, OpenKeyCreatesTheKeyAndEveryMissingParentNonVolatile) {
    // A volatile key refuses a non-volatile child; that is how the created keys are told apart.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wc(Sub(u"Volatile")), 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(volatileKey);
    HKEY probe = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wc(Sub(u"Volatile\\Probe")), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &probe, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);

    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.OpenKey(Sub(u"Tessarin\\Quorvel\\Deep"), true));
    EXPECT_TRUE(registry.HasOpenKey());
    EXPECT_EQ(registry.LastError(), ERROR_SUCCESS);
    for (const auto* level : {u"Tessarin", u"Tessarin\\Quorvel", u"Tessarin\\Quorvel\\Deep"}) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(level)));
        const std::u16string path = Sub(level);
        EXPECT_TRUE(KeyExists(path));
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Wc(path + u"\\Probe"), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &probe, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(probe);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, Wc(path + u"\\Probe"));
    }
    registry.WriteString(u"Name", u"Ada");
    EXPECT_EQ(ReadOutcome(registry, u"Name"), u"Ada");
}

TEST_F(RegistryTest, OpenKeyOnAnExistingKeyKeepsItsValues) {
    const std::u16string path = MakeKeyWithName(u"Existing");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(path, true));
    EXPECT_EQ(ReadOutcome(registry, u"Name"), u"Ada");
    TRegistry second;
    ASSERT_TRUE(second.OpenKey(path, false));
    EXPECT_EQ(ReadOutcome(second, u"Name"), u"Ada");
}

TEST_F(RegistryTest, OpeningAMissingKeyWithoutCreateFailsAndCreatesNothing) {
    const std::u16string missing = Sub(u"Missing\\Key");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));
    EXPECT_FALSE(registry.OpenKey(missing, false));
    EXPECT_EQ(registry.LastError(), ERROR_FILE_NOT_FOUND);
    // The key open before is closed, so nothing is read from or written to it by mistake.
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_EQ(WriteOutcome(registry, u"Name", u"x"), u"error: Failed to set data for 'Name'");

    EXPECT_FALSE(registry.OpenKeyReadOnly(missing));
    EXPECT_EQ(registry.LastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(KeyExists(missing));
    EXPECT_FALSE(KeyExists(Sub(u"Missing")));
}

TEST_F(RegistryTest, TheRootKeyIsTheBaseOfThePath) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));
    // Changing the root closes the key: the scratch path does not exist under HKCR.
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_EQ(registry.RootKey(), HKEY_CLASSES_ROOT);
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_FALSE(registry.OpenKey(scratch.Path(), false));
    EXPECT_EQ(registry.LastError(), ERROR_FILE_NOT_FOUND);
}

// The shipped program is 32-bit: its HKLM\SOFTWARE is the 32-bit view, whichever build runs.
TEST_F(RegistryTest, TheRequestedViewIsTheOneWritten) {
    const std::u16string path = u"Software\\QuorvelTests\\RegistryTest.TheRequestedViewIsTheOneWritten";
    const auto* wide = Wc(path);
    const auto cleanUp = [&] {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            DeleteTree(HKEY_LOCAL_MACHINE, path, view);
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\QuorvelTests", view, 0);  // only when empty
        }
    };
    cleanUp();
    {
        TRegistry registry(KEY_WOW64_32KEY);
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenKey(path, true)) GTEST_SKIP() << "HKLM is not writable here: " << registry.LastError();
        registry.WriteString(u"Name", u"Ada");
    }
    HKEY key = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide, 0, KEY_READ | KEY_WOW64_32KEY, &key), ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
    key = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide, 0, KEY_READ | KEY_WOW64_64KEY, &key), ERROR_FILE_NOT_FOUND);
    if (key) ::RegCloseKey(key);

    TRegistry other(KEY_WOW64_64KEY);
    other.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(other.OpenKeyReadOnly(path));
    TRegistry same(KEY_WOW64_32KEY);
    same.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(same.OpenKeyReadOnly(path));
    EXPECT_EQ(ReadOutcome(same, u"Name"), u"Ada");
    same.CloseKey();
    cleanUp();
}

TEST_F(RegistryTest, ReadOnlyKeyReadsButRefusesWrites) {
    const std::u16string path = MakeKeyWithName(u"ReadOnly");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(path));
    EXPECT_TRUE(registry.ValueExists(u"Name"));
    EXPECT_EQ(ReadOutcome(registry, u"Name"), u"Ada");
    EXPECT_EQ(WriteOutcome(registry, u"Organization", u"Tessarin"), u"error: Failed to set data for 'Organization'");
    EXPECT_EQ(WriteOutcome(registry, u"Name", u"Eve"), u"error: Failed to set data for 'Name'");
    registry.CloseKey();

    TRegistry check;
    ASSERT_TRUE(check.OpenKey(path, false));
    EXPECT_FALSE(check.ValueExists(u"Organization"));
    EXPECT_EQ(ReadOutcome(check, u"Name"), u"Ada");
}

TEST_F(RegistryTest, KeyWhoseDaclLacksFullAccessOpensOnlyReadOnly) {
    struct Case {
        const char* label;
        const wchar_t* sddl;
        bool fullAccess;
    };
    // KRKW lacks DELETE and WRITE_OWNER, both part of KEY_ALL_ACCESS.
    const Case cases[] = {
        {"read only", L"D:P(A;;KR;;;WD)", false},
        {"read and write", L"D:P(A;;KRKW;;;WD)", false},
        {"all access", L"D:P(A;;KA;;;WD)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::u16string path = MakeKeyWithName(u"Locked");
        SetDacl(path, c.sddl);

        TRegistry registry;
        EXPECT_EQ(registry.OpenKey(path, true), c.fullAccess);
        EXPECT_EQ(registry.LastError(), c.fullAccess ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
        EXPECT_EQ(registry.OpenKey(path, false), c.fullAccess);
        EXPECT_EQ(registry.LastError(), c.fullAccess ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
        EXPECT_EQ(registry.HasOpenKey(), c.fullAccess);
        if (c.fullAccess) {
            EXPECT_EQ(WriteOutcome(registry, u"Organization", u"Tessarin"), u"written");
        }

        TRegistry reader;
        ASSERT_TRUE(reader.OpenKeyReadOnly(path));
        EXPECT_EQ(ReadOutcome(reader, u"Name"), u"Ada");
        EXPECT_EQ(WriteOutcome(reader, u"Name", u"Eve"), u"error: Failed to set data for 'Name'");
        reader.CloseKey();
        registry.CloseKey();

        DeleteTree(HKEY_CURRENT_USER, path);
        EXPECT_FALSE(KeyExists(path)) << "the locked key was not cleaned up";
    }
}

TEST_F(RegistryTest, DeleteTreeRemovesATreeHoldingALockedKey) {
    MakeKeyWithName(u"Outer\\Locked");
    SetDacl(Sub(u"Outer\\Locked"), L"D:P(A;;KR;;;WD)");
    DeleteTree(HKEY_CURRENT_USER, Sub(u"Outer"));
    EXPECT_FALSE(KeyExists(Sub(u"Outer\\Locked")));
    EXPECT_FALSE(KeyExists(Sub(u"Outer")));
}

TEST_F(RegistryTest, ValueExists) {
    scratch.SetRaw(u"Name", REG_SZ, L"Ada", 8);
    scratch.SetRaw(u"Empty", REG_BINARY, nullptr, 0);
    scratch.SetRaw(u"Number", REG_DWORD, "\x01\0\0\0", 4);
    TRegistry registry;
    EXPECT_FALSE(registry.ValueExists(u"Name")) << "no key is open yet";
    ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));
    EXPECT_TRUE(registry.ValueExists(u"Name"));
    EXPECT_TRUE(registry.ValueExists(u"name")) << "value names ignore case";
    EXPECT_TRUE(registry.ValueExists(u"Empty"));
    EXPECT_TRUE(registry.ValueExists(u"Number"));
    EXPECT_FALSE(registry.ValueExists(u"Organization"));
    EXPECT_FALSE(registry.ValueExists(u"Nam"));
    registry.CloseKey();
    EXPECT_FALSE(registry.ValueExists(u"Name"));
}

// Values as another program may have stored them, each read through a full-access and a
// read-only key. The value's name is the case's label, so the message names it.
TEST_F(RegistryTest, ReadStringByStoredTypeAndData) {
    struct Case {
        std::u16string name;
        DWORD type;
        std::vector<unsigned char> data;
        std::u16string outcome;
    };
    std::u16string large(2 * 1024 * 1024, u'\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char16_t>(u'A' + i % 26 + (i % 7 == 0) * 0x3A0);
    std::u16string largeTerminated = large;
    largeTerminated.push_back(u'\0');

    const std::vector<Case> cases = {
        {u"string", REG_SZ, Utf16Bytes(u"Ada Lovelace\0"sv), u"Ada Lovelace"},
        {u"non-ASCII string", REG_SZ, Utf16Bytes(u"Zoë Łukasiewicz 日本 😀\0"sv), u"Zoë Łukasiewicz 日本 😀"},
        {u"expandable string", REG_EXPAND_SZ, Utf16Bytes(u"%PATH%\\x\0"sv), u"%PATH%\\x"},
        {u"number", REG_DWORD, {0x2A, 0, 0, 0}, u"error: Invalid data type for 'number'"},
        {u"binary holding text", REG_BINARY, Utf16Bytes(u"abc\0"sv), u"error: Invalid data type for 'binary holding text'"},
        {u"multi-string", REG_MULTI_SZ, Utf16Bytes(u"a\0b\0\0"sv), u"error: Invalid data type for 'multi-string'"},
        {u"untyped", REG_NONE, Utf16Bytes(u"abc\0"sv), u"error: Invalid data type for 'untyped'"},
        {u"empty binary", REG_BINARY, {}, u""},
        {u"empty number", REG_DWORD, {}, u""},
        {u"empty multi-string", REG_MULTI_SZ, {}, u""},
        {u"empty string", REG_SZ, {}, u""},
        {u"only a NUL", REG_SZ, {0, 0}, u""},
        {u"embedded NUL", REG_SZ, Utf16Bytes(u"ab\0cd\0"sv), u"ab"},
        {u"no terminating NUL", REG_SZ, Utf16Bytes(u"abc"sv), u"abc"},
        {u"odd byte count", REG_SZ, {'a', 0, 'b', 0, 'c'}, u"ab"},
        {u"single byte", REG_EXPAND_SZ, {'a'}, u""},
        {u"Zähler 日本", REG_DWORD, {1, 0, 0, 0}, u"error: Invalid data type for 'Zähler 日本'"},
        {u"large string", REG_SZ, Utf16Bytes(largeTerminated), large},
    };
    for (const Case& c : cases) {
        scratch.SetRaw(c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    }
    for (const bool readOnly : {false, true}) {
        TRegistry registry;
        ASSERT_TRUE(readOnly ? registry.OpenKeyReadOnly(scratch.Path()) : registry.OpenKey(scratch.Path(), false));
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::PrintToString(c.name) + (readOnly ? " read-only" : " full access"));
            EXPECT_TRUE(registry.ValueExists(c.name));
            ExpectSameText(ReadOutcome(registry, c.name), c.outcome);
        }
    }
}

TEST_F(RegistryTest, FailuresNameTheValueExactly) {
    enum class Key { None, FullAccess, ReadOnly, Deleted };
    struct Case {
        const char* label;
        Key key;
        bool write;
        std::u16string name;
        std::u16string outcome;
    };
    const Case cases[] = {
        {"missing value", Key::FullAccess, false, u"Missing", u"error: Failed to get data for 'Missing'"},
        {"unset default value", Key::FullAccess, false, u"", u"error: Failed to get data for ''"},
        {"format characters in the name", Key::FullAccess, false, u"100%s %% %d",
         u"error: Failed to get data for '100%s %% %d'"},
        {"non-ASCII name", Key::FullAccess, false, u"Zähler 日本", u"error: Failed to get data for 'Zähler 日本'"},
        {"read, no key open", Key::None, false, u"Name", u"error: Failed to get data for 'Name'"},
        {"write, no key open", Key::None, true, u"Name", u"error: Failed to set data for 'Name'"},
        {"write, read-only key", Key::ReadOnly, true, u"Organization",
         u"error: Failed to set data for 'Organization'"},
        {"read, key deleted meanwhile", Key::Deleted, false, u"Name", u"error: Failed to get data for 'Name'"},
        {"write, key deleted meanwhile", Key::Deleted, true, u"Name", u"error: Failed to set data for 'Name'"},
    };
    const std::u16string path = MakeKeyWithName(u"Record");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TRegistry registry;
        switch (c.key) {
        case Key::None: break;
        case Key::FullAccess: ASSERT_TRUE(registry.OpenKey(path, false)); break;
        case Key::ReadOnly: ASSERT_TRUE(registry.OpenKeyReadOnly(path)); break;
        case Key::Deleted:
            ASSERT_TRUE(registry.OpenKey(MakeKeyWithName(u"Doomed"), false));
            DeleteTree(HKEY_CURRENT_USER, Sub(u"Doomed"));
            ASSERT_FALSE(KeyExists(Sub(u"Doomed")));
            break;
        }
        EXPECT_EQ(c.write ? WriteOutcome(registry, c.name, u"Eve") : ReadOutcome(registry, c.name), c.outcome);
    }
    TRegistry check;
    ASSERT_TRUE(check.OpenKey(path, false));
    EXPECT_FALSE(check.ValueExists(u"Organization"));
    EXPECT_FALSE(KeyExists(Sub(u"Doomed")));
}

TEST_F(RegistryTest, WriteStringStoresRegSzWithItsTerminatingNul) {
    const std::u16string values[] = {
        u"",
        u"Ada",
        u"Zoë Łukasiewicz 日本",
        u"😀 outside the BMP",
        std::u16string(5000, u'x'),
    };
    // Values of another type and of a longer text are replaced whole.
    scratch.SetRaw(u"Value", REG_DWORD, "\x2A\0\0\0", 4);
    const auto longer = Utf16Bytes(std::u16string(6000, u'y') + u'\0');
    for (const std::u16string& value : values) {
        SCOPED_TRACE(testing::PrintToString(value.substr(0, 40)));
        {
            TRegistry registry;
            ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));
            EXPECT_EQ(WriteOutcome(registry, u"Value", value), u"written");
        }
        std::u16string terminated = value;
        terminated.push_back(u'\0');
        const RawValue raw = QueryRawW(scratch.Key(), u"Value");
        ASSERT_EQ(raw.result, ERROR_SUCCESS);
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(raw.bytes.size(), (value.size() + 1) * 2);
        EXPECT_TRUE(raw.bytes == Utf16Bytes(terminated));

        TRegistry reader;
        ASSERT_TRUE(reader.OpenKeyReadOnly(scratch.Path()));
        ExpectSameText(ReadOutcome(reader, u"Value"), value);
        scratch.SetRaw(u"Value", REG_SZ, longer.data(), static_cast<DWORD>(longer.size()));
    }
}

TEST_F(RegistryTest, NamesAndTextsSurviveWholeInUtf16) {
    const std::u16string texts[] = {u"Zoë Łukasiewicz 日本", u"Ελληνικά ☃ 😀", u"tab\there"};
    for (const std::u16string& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        {
            TRegistry writer;
            ASSERT_TRUE(writer.OpenKey(Sub(u"Record"), true));
            writer.WriteString(text, text);
        }
        TRegistry reader;
        ASSERT_TRUE(reader.OpenKeyReadOnly(Sub(u"Record")));
        EXPECT_TRUE(reader.ValueExists(text));
        EXPECT_EQ(ReadOutcome(reader, text), text);
    }
}

// The stored record is read by programs using the ANSI functions: for text the ANSI code page
// holds, they must see exactly what an ANSI write would have stored, terminating NUL included.
TEST_F(RegistryTest, AnsiReadersSeeWhatAnAnsiWriteStores) {
    const std::u16string texts[] = {u"Zoë", u"", u"Ada Lovelace", u"Société Générale"};
    for (const std::u16string& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        const std::optional<std::string> ansi = Ansi(text);
        if (!ansi) {
            ADD_FAILURE() << "the ANSI code page " << ::GetACP() << " cannot hold this text";
            continue;
        }
        const std::u16string name = text.empty() ? u"(empty)" : text;
        const std::string ansiName = *Ansi(name);
        const std::string ansiReference = ansiName + " (ANSI)";
        ASSERT_EQ(::RegSetValueExA(scratch.Key(), ansiReference.c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(ansi->c_str()), static_cast<DWORD>(ansi->size() + 1)),
                  ERROR_SUCCESS);
        {
            TRegistry registry;
            ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));
            registry.WriteString(name, text);
            EXPECT_EQ(ReadOutcome(registry, name + u" (ANSI)"), text)
                << "a value an ANSI program stored reads as the same text";
        }
        const RawValue ours = QueryRawA(scratch.Key(), ansiName);
        const RawValue reference = QueryRawA(scratch.Key(), ansiReference);
        ASSERT_EQ(ours.result, ERROR_SUCCESS) << "the value is found by its ANSI name";
        ASSERT_EQ(reference.result, ERROR_SUCCESS);
        EXPECT_EQ(ours.type, reference.type);
        EXPECT_EQ(ours.bytes, reference.bytes);
        std::vector<unsigned char> expected(ansi->begin(), ansi->end());
        expected.push_back(0);
        EXPECT_EQ(ours.bytes, expected);
    }
}

TEST_F(RegistryTest, NoKeyHandleOutlivesItsWrapper) {
    const std::u16string path = MakeKeyWithName(u"Record");
    scratch.SetRaw(u"Number", REG_DWORD, "\x01\0\0\0", 4);
    const auto cycle = [&] {
        {
            TRegistry registry;
            ASSERT_TRUE(registry.OpenKey(path, false));
            EXPECT_THROW(registry.ReadString(u"Missing"), ERegistryException);
        }
        try {
            TRegistry registry;
            registry.OpenKey(scratch.Path(), false);
            registry.ReadString(u"Number");
            ADD_FAILURE() << "a number read as a string";
        } catch (const ERegistryException&) {
        }
        try {
            TRegistry registry;
            registry.OpenKeyReadOnly(path);
            registry.WriteString(u"Name", u"Eve");
            ADD_FAILURE() << "a read-only key took a write";
        } catch (const ERegistryException&) {
        }
        {
            TRegistry registry;
            ASSERT_TRUE(registry.OpenKey(path, true));
            ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));  // replaces the first key
            ASSERT_FALSE(registry.OpenKey(Sub(u"Missing"), false));
            ASSERT_TRUE(registry.OpenKeyReadOnly(path));
            registry.SetRootKey(HKEY_CURRENT_USER);
            ASSERT_TRUE(registry.OpenKey(path, false));
            registry.WriteString(u"Organization", u"Tessarin");
        }
    };
    cycle();  // first-use allocations are not leaks

    // The count must see key handles, or the loop below proves nothing.
    const std::size_t beforeControl = ProcessHandleCount();
    std::vector<HKEY> held(20);
    for (HKEY& key : held) ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Wc(path), 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_GE(ProcessHandleCount(), beforeControl + 20);
    for (HKEY key : held) ::RegCloseKey(key);

    const std::size_t before = ProcessHandleCount();
    for (int i = 0; i < 200; ++i) {
        cycle();
        if (HasFatalFailure()) return;
    }
    EXPECT_LE(ProcessHandleCount(), before);
}

TEST_F(RegistryTest, ReadStringDefaultFallsBackOnlyWhenThereIsNoString) {
    struct Case {
        std::u16string name;
        DWORD type;
        std::vector<unsigned char> data;
        std::u16string expected;
    };
    const std::u16string fallback = u"sentinel default";
    const std::vector<Case> cases = {
        {u"string", REG_SZ, Utf16Bytes(u"Ada\0"sv), u"Ada"},
        {u"empty string", REG_SZ, Utf16Bytes(u"\0"sv), u""},
        {u"empty binary", REG_BINARY, {}, u""},
        {u"empty number", REG_DWORD, {}, u""},
        {u"expandable string", REG_EXPAND_SZ, Utf16Bytes(u"%PATH%\\x\0"sv), u"%PATH%\\x"},
        {u"embedded NUL", REG_SZ, Utf16Bytes(u"ab\0cd\0"sv), u"ab"},
        {u"number", REG_DWORD, {0x2A, 0, 0, 0}, fallback},
        {u"multi-string", REG_MULTI_SZ, Utf16Bytes(u"a\0b\0\0"sv), fallback},
        {u"binary", REG_BINARY, {1, 2, 3, 4}, fallback},
    };
    for (const Case& c : cases) scratch.SetRaw(c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(scratch.Path(), false));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(ReadStringDefault(registry, c.name, fallback), c.expected);
    }
    EXPECT_EQ(ReadStringDefault(registry, u"missing", fallback), fallback);
    EXPECT_EQ(ReadStringDefault(registry, u"missing", u""), u"");

    TRegistry closed;
    EXPECT_EQ(ReadStringDefault(closed, u"string", fallback), fallback);

    TRegistry deleted;
    ASSERT_TRUE(deleted.OpenKey(MakeKeyWithName(u"Doomed"), false));
    DeleteTree(HKEY_CURRENT_USER, Sub(u"Doomed"));
    EXPECT_EQ(ReadStringDefault(deleted, u"Name", fallback), fallback);
}

} // namespace
