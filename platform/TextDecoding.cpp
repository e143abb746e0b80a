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

// The loops below walk raw pointers: licence files can be tens of megabytes, and unoptimised
// builds pay a call for every element touched through the containers.

bool IsAscii(std::string_view bytes) {
    for (const char* p = bytes.data(), *end = p + bytes.size(); p != end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) return false;
    }
    return true;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
    // An odd final byte is half a character: dropped.
    std::u16string text(bytes.size() / 2, u'\0');
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* o = text.data();
    char16_t* const end = o + text.size();
    for (; o != end; ++o, p += 2) {
        *o = static_cast<char16_t>(p[0] | (p[1] << 8));
        if (*o == u'\0') break;
    }
    text.resize(static_cast<std::size_t>(o - text.data()));
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
    const char16_t* const begin = text.data();
    const char16_t* const end = begin + text.size();
    // Counted first, so that the result is allocated once at its final size.
    std::size_t size = text.size();
    for (const char16_t* p = begin; p != end; ++p) {
        if (*p == u'\r' && p + 1 != end && p[1] == u'\n') {
            ++p;
        } else if (*p == u'\r' || *p == u'\n') {
            ++size;
        }
    }
    std::u16string out(size, u'\0');
    char16_t* o = out.data();
    for (const char16_t* p = begin; p != end; ++p) {
        if (*p == u'\r' || *p == u'\n') {
            if (*p == u'\r' && p + 1 != end && p[1] == u'\n') ++p;
            *o++ = u'\r';
            *o++ = u'\n';
        } else {
            *o++ = *p;
        }
    }
    return out;
}

} // namespace platform
