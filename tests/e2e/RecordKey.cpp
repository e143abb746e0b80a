#include "RecordKey.h"

#include <sddl.h>

namespace e2e {
namespace {

constexpr wchar_t ParentPath[] = L"SOFTWARE\\Tessarin";

// Owns an open key.
class OpenKey {
public:
    explicit OpenKey(REGSAM access) {
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, RecordKey::Path, 0, access | RecordKey::View, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_) ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const noexcept { return key_ != nullptr; }
    HKEY get() const noexcept { return key_; }

private:
    HKEY key_ = nullptr;
};

bool SetDacl(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
        return false;
    }
    // The owner may always change the DACL, whatever the DACL says.
    OpenKey key(WRITE_DAC);
    const bool ok = key && ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    ::LocalFree(descriptor);
    return ok;
}

} // namespace

void RecordKey::Delete() {
    if (Exists()) {
        RestoreFullAccess();
        {
            OpenKey key(KEY_ALL_ACCESS);
            if (key) ::RegDeleteTreeW(key.get(), nullptr);
        }
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Path, View, 0);
    }
    // Fails, as it should, while the parent holds anything else.
    ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, ParentPath, View, 0);
}

bool RecordKey::Exists() {
    return static_cast<bool>(OpenKey(READ_CONTROL));
}

bool RecordKey::Create() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, Path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | View, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

bool RecordKey::SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    if (!Create()) return false;
    OpenKey key(KEY_SET_VALUE);
    return key && ::RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool RecordKey::SetString(const std::wstring& name, const std::wstring& value, DWORD type) {
    const auto data = StringData(value);
    return SetRaw(name, type, data.data(), static_cast<DWORD>(data.size()));
}

bool RecordKey::MakeReadOnly() {
    return SetDacl(L"D:P(A;;KR;;;WD)");
}

bool RecordKey::RestoreFullAccess() {
    return SetDacl(L"D:P(A;;KA;;;WD)");
}

std::optional<RegistryValue> RecordKey::Read(const std::wstring& name) {
    OpenKey key(KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<DWORD> RecordKey::ValueCount() {
    OpenKey key(KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    DWORD count = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return count;
}

std::vector<BYTE> StringData(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

} // namespace e2e
