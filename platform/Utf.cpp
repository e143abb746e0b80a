#include "Utf.h"

namespace platform {
namespace {

constexpr char16_t Replacement = u'\uFFFD';

// One sequence of UTF-8. An ill-formed one spans the longest prefix that could have begun a
// well-formed sequence, at least one byte, so that it becomes a single U+FFFD as Unicode advises.
struct Sequence {
    char32_t codePoint;
    std::size_t length;
    bool wellFormed;
};

Sequence ReadSequence(const unsigned char* p, const unsigned char* end) {
    const unsigned char lead = *p;
    std::size_t length;
    char32_t codePoint;
    // Narrowing the second byte's range excludes overlong forms, surrogates and code points
    // above U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {0, 1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (p + i == end || p[i] < low || p[i] > high) return {0, i, false};
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, length, true};
}

// Writes through a pointer into a buffer of one unit per byte, the most UTF-8 can need, and
// takes ASCII inline: licence files can be tens of megabytes, also in unoptimised builds.
std::optional<std::u16string> Decode(std::string_view bytes, bool strict) {
    std::u16string out(bytes.size(), u'\0');
    char16_t* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p != end) {
        if (*p < 0x80) {
            *o++ = *p++;
            continue;
        }
        const Sequence sequence = ReadSequence(p, end);
        p += sequence.length;
        if (!sequence.wellFormed) {
            if (strict) return std::nullopt;
            *o++ = Replacement;
        } else if (sequence.codePoint < 0x10000) {
            *o++ = static_cast<char16_t>(sequence.codePoint);
        } else {
            const char32_t offset = sequence.codePoint - 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (offset >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

} // namespace

std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes) {
    return Decode(bytes, true);
}

std::u16string DecodeUtf8(std::string_view bytes) {
    return *Decode(bytes, false);
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace platform
