#include "RegistryValue.h"

namespace platform {

std::optional<std::u16string> DecodeRegistryString(std::uint32_t type, std::span<const unsigned char> data) {
    if (data.empty()) return std::u16string();
    if (type != RegTypeSz && type != RegTypeExpandSz) return std::nullopt;
    std::u16string text;
    text.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\0') break;
        text.push_back(unit);
    }
    return text;
}

} // namespace platform
