// The program's registration record as the tests prepare and inspect it: the key
// HKLM\SOFTWARE\Tessarin\Quorvel in the 32-bit registry view, which every build of the program uses.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class RecordKey {
public:
    static constexpr wchar_t Path[] = L"SOFTWARE\\Tessarin\\Quorvel";
    static constexpr REGSAM View = KEY_WOW64_32KEY;

    // Removes the key and what it holds, taking back full access first if a case took it away;
    // SOFTWARE\Tessarin goes too when nothing else is left in it.
    static void Delete();
    static bool Exists();
    static bool Create();
    static bool SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD size);
    static bool SetString(const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
    // Leaves everyone only read access, as for a user without the rights to write under HKLM.
    static bool MakeReadOnly();
    static bool RestoreFullAccess();
    static std::optional<RegistryValue> Read(const std::wstring& name);
    // The number of values in the key; empty when the key does not exist.
    static std::optional<DWORD> ValueCount();
};

// The bytes of a REG_SZ value holding `text`, its terminating NUL counted.
std::vector<BYTE> StringData(const std::wstring& text);

} // namespace e2e
