// Conversions between UTF-8 and the UTF-16 strings the program keeps inside.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Strict decoding: nullopt for anything that is not well-formed UTF-8
// (overlong forms, surrogates, code points above U+10FFFF, truncated sequences).
std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes);

// Lenient decoding: each ill-formed sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);

// Unpaired surrogates become U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

} // namespace platform
