// Decoding any file's bytes and normalising its line breaks gives text an edit box can hold.
#include "TextDecoding.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace platform;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Stands in for the system code page, which only Windows supplies.
std::u16string DecodeLatin1(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) text.push_back(static_cast<unsigned char>(byte));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string decoded = DecodeText(bytes, DecodeLatin1);
    Require(decoded.find(u'\0') == std::u16string::npos);
    Require(decoded.size() <= size);

    const std::u16string text = NormalizeLineBreaks(decoded);
    Require(text.find(u'\0') == std::u16string::npos);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') Require(i + 1 < text.size() && text[i + 1] == u'\n');
        if (text[i] == u'\n') Require(i > 0 && text[i - 1] == u'\r');
    }
    // Normalising twice changes nothing more.
    Require(NormalizeLineBreaks(text) == text);
    return 0;
}
