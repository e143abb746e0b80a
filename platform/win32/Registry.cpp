#include "Registry.h"

#include "RegistryValue.h"
#include "StringFormat.h"
#include "Wide.h"

#include <vector>

namespace platform {
namespace {

[[noreturn]] void Fail(std::u16string_view pattern, std::u16string_view name) {
    throw ERegistryException(FormatS(pattern, name));
}

constexpr std::u16string_view GetDataFailed = u"Failed to get data for '%s'";

} // namespace

TRegistry::TRegistry(REGSAM view) noexcept : view_(view) {}

void TRegistry::SetRootKey(HKEY root) noexcept {
    CloseKey();
    root_ = root;
}

bool TRegistry::Open(std::u16string_view path, REGSAM access, bool canCreate) {
    CloseKey();
    // Paths are relative to the root; a leading backslash is accepted for an absolute one.
    while (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
    const std::u16string keyPath = std::u16string(path);
    HKEY opened = nullptr;
    if (canCreate) {
        lastError_ = ::RegCreateKeyExW(root_, W(keyPath), 0, nullptr, REG_OPTION_NON_VOLATILE, access | view_,
                                       nullptr, &opened, nullptr);
    } else {
        lastError_ = ::RegOpenKeyExW(root_, W(keyPath), 0, access | view_, &opened);
    }
    if (lastError_ != ERROR_SUCCESS) return false;
    key_.reset(opened);
    return true;
}

bool TRegistry::OpenKey(std::u16string_view path, bool canCreate) {
    return Open(path, KEY_ALL_ACCESS, canCreate);
}

bool TRegistry::OpenKeyReadOnly(std::u16string_view path) {
    return Open(path, KEY_READ, false);
}

void TRegistry::CloseKey() noexcept {
    key_.reset();
}

bool TRegistry::ValueExists(std::u16string_view name) const {
    if (!key_) return false;
    const std::u16string valueName = std::u16string(name);
    return ::RegQueryValueExW(key_.get(), W(valueName), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::u16string TRegistry::ReadString(std::u16string_view name) const {
    if (!key_) Fail(GetDataFailed, name);
    const std::u16string valueName = std::u16string(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key_.get(), W(valueName), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        Fail(GetDataFailed, name);
    }
    if (size == 0) return std::u16string();

    // The value may grow between the two calls (another process writing it): ask again.
    std::vector<unsigned char> data;
    LONG result = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 8 && result == ERROR_MORE_DATA; ++attempt) {
        data.resize(size);
        result = ::RegQueryValueExW(key_.get(), W(valueName), nullptr, &type, data.data(), &size);
    }
    if (result != ERROR_SUCCESS) Fail(GetDataFailed, name);
    data.resize(size);
    auto text = DecodeRegistryString(type, data);
    if (!text) Fail(u"Invalid data type for '%s'", name);
    return std::move(*text);
}

void TRegistry::WriteString(std::u16string_view name, std::u16string_view value) {
    const std::u16string valueName = std::u16string(name);
    const std::u16string data = std::u16string(value);
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(char16_t));
    if (!key_ || ::RegSetValueExW(key_.get(), W(valueName), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                  bytes) != ERROR_SUCCESS) {
        Fail(u"Failed to set data for '%s'", name);
    }
}

} // namespace platform
