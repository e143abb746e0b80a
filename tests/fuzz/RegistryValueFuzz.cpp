// Any registry value, of any type and size, decodes safely; the first 4 bytes are its type.
#include "RegistryValue.h"

#include <cstdint>
#include <cstdlib>
#include <span>

using namespace platform;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint32_t type = data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
    const std::span<const unsigned char> value(data + 4, size - 4);

    const std::optional<std::u16string> text = DecodeRegistryString(type, value);
    if (value.empty()) {
        Require(text && text->empty());
    } else if (type != RegTypeSz && type != RegTypeExpandSz) {
        Require(!text);
    } else {
        Require(text.has_value());
    }
    if (text) {
        Require(text->find(u'\0') == std::u16string::npos);
        Require(text->size() <= value.size() / 2);
    }
    return 0;
}
