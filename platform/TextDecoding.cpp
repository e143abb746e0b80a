#include "TextDecoding.h"

#include "Utf.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeBom = "\xFF\xFE";

std::string_view BeforeNul(std::string_view bytes) {
    return bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    // An odd final byte is half a character: dropped.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (unit == u'\0') break;
        text.push_back(unit);
    }
    return text;
}

} // namespace

TextEncoding DetectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(Utf16LeBom)) return TextEncoding::Utf16LeWithBom;
    if (bytes.starts_with(Utf8Bom)) return TextEncoding::Utf8WithBom;
    const std::string_view text = BeforeNul(bytes);
    if (!IsAscii(text) && DecodeUtf8Strict(text)) return TextEncoding::Utf8;
    return TextEncoding::SystemCodePage;
}

std::u16string DecodeText(std::string_view bytes, const CodePageDecoder& decodeCodePage) {
    if (bytes.starts_with(Utf16LeBom)) return DecodeUtf16Le(bytes.substr(Utf16LeBom.size()));
    if (bytes.starts_with(Utf8Bom)) return DecodeUtf8(BeforeNul(bytes.substr(Utf8Bom.size())));
    const std::string_view text = BeforeNul(bytes);
    if (!IsAscii(text)) {
        if (auto utf8 = DecodeUtf8Strict(text)) return std::move(*utf8);
    }
    return decodeCodePage(text);
}

std::u16string NormalizeLineBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out.append(u"\r\n");
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace platform
