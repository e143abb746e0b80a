// TRegistry: one open key under a root, with the string reads and writes the program needs.
// Every failure of a value operation is an ERegistryException naming the value.
#pragma once

#include "Exception.h"
#include "Handle.h"

#include <string>
#include <string_view>

namespace platform {

class TRegistry {
public:
    // `view` is KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0 (the process's own view).
    explicit TRegistry(REGSAM view = 0) noexcept;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    ~TRegistry() = default;  // the owned key closes itself

    void SetRootKey(HKEY root) noexcept;
    HKEY RootKey() const noexcept { return root_; }

    // Opens `path` below the root with full access (KEY_ALL_ACCESS); with `canCreate`, creates
    // it and every missing key above it, non-volatile. Closes any key open before. On failure
    // returns false and LastError() tells why.
    bool OpenKey(std::u16string_view path, bool canCreate);
    // Opens an existing key with KEY_READ only.
    bool OpenKeyReadOnly(std::u16string_view path);
    void CloseKey() noexcept;
    bool HasOpenKey() const noexcept { return static_cast<bool>(key_); }
    LONG LastError() const noexcept { return lastError_; }

    bool ValueExists(std::u16string_view name) const;
    // "Failed to get data for '<name>'" when the value cannot be read, "Invalid data type for
    // '<name>'" when it is not a string; a value of zero size is "" whatever its type.
    std::u16string ReadString(std::u16string_view name) const;
    // REG_SZ with the terminating NUL counted. "Failed to set data for '<name>'".
    void WriteString(std::u16string_view name, std::u16string_view value);

private:
    bool Open(std::u16string_view path, REGSAM access, bool canCreate);

    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM view_;
    UniqueHkey key_;
    LONG lastError_ = ERROR_SUCCESS;
};

} // namespace platform
