// UTF-16 text crosses to the W functions as wchar_t; on Windows both are 16-bit units.
#pragma once

#include <string>
#include <string_view>

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* W(const std::u16string& text) noexcept {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromW(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline std::u16string FromW(std::wstring_view text) {
    return FromW(text.data(), text.size());
}

} // namespace platform
