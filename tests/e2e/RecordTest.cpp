// The stored registration record: what the dialog pre-fills from it, whatever the values hold,
// and what Register writes.
#include "ProgramTest.h"

#include <functional>

namespace e2e {
namespace {

bool SetBytes(const std::wstring& name, DWORD type, std::string_view bytes) {
    return RecordKey::SetRaw(name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

bool SetWide(const std::wstring& name, DWORD type, std::wstring_view units) {
    return RecordKey::SetRaw(name, type, units.data(), static_cast<DWORD>(units.size() * sizeof(wchar_t)));
}

struct StoredRecord {
    const char* name;
    std::function<bool()> store;
    std::wstring userName;
    std::wstring organization;
};

void PrintTo(const StoredRecord& row, std::ostream* out) {
    *out << row.name;
}

class PrefillTest : public ProgramTest, public ::testing::WithParamInterface<StoredRecord> {};

TEST_P(PrefillTest, BoxesShowWhatIsStored) {
    const StoredRecord& row = GetParam();
    ASSERT_TRUE(row.store());
    const auto valuesBefore = RecordKey::ValueCount();

    ASSERT_NO_FATAL_FAILURE(StartToDialog());

    EXPECT_EQ(Text(dialog.name), row.userName);
    EXPECT_EQ(Text(dialog.organization), row.organization);
    // No trimming: any stored name, spaces too, enables Register at once.
    EXPECT_EQ(::IsWindowEnabled(dialog.registerButton) != FALSE, !row.userName.empty());
    EXPECT_FALSE(WaitForMessageBox(*program, milliseconds(0))) << "a stored value was reported";
    ASSERT_TRUE(Press(dialog.window, Esc));
    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
    EXPECT_EQ(RecordKey::ValueCount().value_or(0), valuesBefore.value_or(0)) << "Cancel changed the record";
}

const std::wstring NonAscii = L"Zo\u00eb \u0141ukasiewicz \u65e5\u672c";

INSTANTIATE_TEST_SUITE_P(
    , PrefillTest,
    ::testing::Values(
        StoredRecord{"NoRecord", [] { return true; }, L"", L""},
        StoredRecord{"EmptyKey", [] { return RecordKey::Create(); }, L"", L""},
        StoredRecord{"NameAndOrganization",
                     [] {
                         return RecordKey::SetString(L"Name", L"Ada Lovelace") &&
                                RecordKey::SetString(L"Organization", L"Analytical Engines Ltd");
                     },
                     L"Ada Lovelace", L"Analytical Engines Ltd"},
        StoredRecord{"NameOnly", [] { return RecordKey::SetString(L"Name", L"Ada"); }, L"Ada", L""},
        StoredRecord{"OrganizationOnly", [] { return RecordKey::SetString(L"Organization", L"Engines"); }, L"",
                     L"Engines"},
        StoredRecord{"NameOfSpaces", [] { return RecordKey::SetString(L"Name", L"   "); }, L"   ", L""},
        StoredRecord{"NonAsciiName", [] { return RecordKey::SetString(L"Name", NonAscii); }, NonAscii, L""},
        StoredRecord{"NameAsNumber",
                     [] {
                         const DWORD number = 42;
                         return RecordKey::SetRaw(L"Name", REG_DWORD, &number, sizeof number) &&
                                RecordKey::SetString(L"Organization", L"Engines");
                     },
                     L"", L"Engines"},
        StoredRecord{"OrganizationAsNumber",
                     [] {
                         const DWORD number = 7;
                         return RecordKey::SetString(L"Name", L"Ada") &&
                                RecordKey::SetRaw(L"Organization", REG_DWORD, &number, sizeof number);
                     },
                     L"Ada", L""},
        StoredRecord{"NameAsBinary", [] { return SetWide(L"Name", REG_BINARY, L"Ada"); }, L"", L""},
        StoredRecord{"NameAsMultiString", [] { return SetWide(L"Name", REG_MULTI_SZ, {L"Ada\0Byron\0", 11}); },
                     L"", L""},
        StoredRecord{"EmptyBinaryName", [] { return SetBytes(L"Name", REG_BINARY, ""); }, L"", L""},
        StoredRecord{"EmptyDwordName", [] { return SetBytes(L"Name", REG_DWORD, ""); }, L"", L""},
        StoredRecord{"EmptyStringName", [] { return SetBytes(L"Name", REG_SZ, ""); }, L"", L""},
        StoredRecord{"NameWithEmbeddedNul", [] { return SetWide(L"Name", REG_SZ, {L"Ada\0Byron", 10}); }, L"Ada",
                     L""},
        StoredRecord{"NameWithoutTerminator", [] { return SetWide(L"Name", REG_SZ, L"Ada"); }, L"Ada", L""},
        StoredRecord{"ExpandableNameUnexpanded",
                     [] { return RecordKey::SetString(L"Name", L"%SystemRoot%\\Ada", REG_EXPAND_SZ); },
                     L"%SystemRoot%\\Ada", L""},
        // Read access is enough to see the record.
        StoredRecord{"ReadOnlyKey",
                     [] {
                         return RecordKey::SetString(L"Name", L"Ada") &&
                                RecordKey::SetString(L"Organization", L"Engines") && RecordKey::MakeReadOnly();
                     },
                     L"Ada", L"Engines"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TypedRecord {
    const char* name;
    std::wstring userName;
    std::wstring organization;
};

void PrintTo(const TypedRecord& row, std::ostream* out) {
    *out << row.name;
}

class StoredRecordTest : public ProgramTest, public ::testing::WithParamInterface<TypedRecord> {};

// Each value is a REG_SZ of UTF-16 text with its terminating NUL counted: (length + 1) * 2 bytes.
TEST_P(StoredRecordTest, RegisterStoresBothValuesAsStrings) {
    const TypedRecord& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, row.userName, row.userName));
    if (!row.organization.empty()) {
        ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, dialog.organization));
        ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.organization, row.organization, row.organization));
    }

    ASSERT_TRUE(Press(dialog.window, Enter));

    ASSERT_NO_FATAL_FAILURE(ExpectExit(0));
    EXPECT_EQ(RecordKey::ValueCount(), 2u);
    for (const auto& [valueName, text] : {std::pair{L"Name", row.userName}, std::pair{L"Organization", row.organization}}) {
        const auto value = RecordKey::Read(valueName);
        ASSERT_TRUE(value) << Narrow(valueName) << " was not stored";
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << Narrow(valueName);
        EXPECT_EQ(value->data.size(), (text.size() + 1) * 2) << Narrow(valueName);
        EXPECT_EQ(value->data, StringData(text)) << Narrow(valueName);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , StoredRecordTest,
    ::testing::Values(TypedRecord{"NameAndOrganization", L"Ada Lovelace", L"Analytical Engines Ltd"},
                      TypedRecord{"EmptyOrganization", L"Ada Lovelace", L""},
                      TypedRecord{"NameOfOneSpace", L" ", L""},
                      TypedRecord{"NonAsciiText", NonAscii, L"\u00c9coles d'ing\u00e9nieurs \u2014 \u00d8resund"},
                      TypedRecord{"CharacterOutsideTheBasicPlane", L"Ada \U0001D504", L"\U0001F600"},
                      TypedRecord{"LongName", std::wstring(300, L'x'), std::wstring(200, L'y')}),
    [](const auto& info) { return std::string(info.param.name); });

using RecordLifecycleTest = ProgramTest;

// The key is there, empty, before the dialog shows, and Cancel leaves it so.
TEST_F(RecordLifecycleTest, KeyIsCreatedEmptyAtStartUpAlsoOnCancel) {
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    EXPECT_EQ(RecordKey::ValueCount(), 0u) << "no empty key after start-up";

    ASSERT_TRUE(Press(dialog.window, Esc));

    ASSERT_NO_FATAL_FAILURE(ExpectExit(1));
    EXPECT_TRUE(RecordKey::Exists());
    EXPECT_EQ(RecordKey::ValueCount(), 0u);
}

TEST_F(RecordLifecycleTest, RegisterReplacesTheStoredRecord) {
    ASSERT_TRUE(RecordKey::SetString(L"Name", L"Old Name"));
    ASSERT_TRUE(RecordKey::SetString(L"Organization", L"Old Organization"));
    ASSERT_NO_FATAL_FAILURE(StartToDialog());
    // Tab into a box selects its text, so typing replaces it.
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(Tab, dialog.organization));
    ASSERT_TRUE(Press(dialog.organization, Backspace));
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForFocus(ShiftTab, dialog.name));
    ASSERT_NO_FATAL_FAILURE(TypeAndWait(dialog.name, L"Ada", L"Ada"));
    EXPECT_EQ(Text(dialog.organization), L"");

    ASSERT_TRUE(Press(dialog.window, Enter));

    ASSERT_NO_FATAL_FAILURE(ExpectExit(0));
    EXPECT_EQ(StoredBytes(L"Name"), StringData(L"Ada"));
    EXPECT_EQ(StoredBytes(L"Organization"), StringData(L""));
}

} // namespace
} // namespace e2e
