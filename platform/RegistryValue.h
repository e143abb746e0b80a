// Decoding a registry value's raw type and bytes as a string.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform {

inline constexpr std::uint32_t RegTypeSz = 1;        // REG_SZ
inline constexpr std::uint32_t RegTypeExpandSz = 2;  // REG_EXPAND_SZ

// Empty data of any type is the empty string. Otherwise only REG_SZ and REG_EXPAND_SZ are
// strings (nullopt for the rest); an expandable value comes back unexpanded. The text is
// UTF-16LE and stops at its first NUL; a missing terminator or an odd final byte is tolerated.
std::optional<std::u16string> DecodeRegistryString(std::uint32_t type, std::span<const unsigned char> data);

} // namespace platform
