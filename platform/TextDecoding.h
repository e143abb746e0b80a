// Turning a text file's bytes into the text an edit box shows.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class TextEncoding { SystemCodePage, Utf8, Utf8WithBom, Utf16LeWithBom };

// Decodes single-byte text in the system code page; supplied by the Windows side.
using CodePageDecoder = std::function<std::u16string(std::string_view)>;

// UTF-16LE and UTF-8 by their byte order marks; UTF-8 without one when the bytes before the
// first NUL are well-formed UTF-8 and not all ASCII; anything else is system code page text.
TextEncoding DetectTextEncoding(std::string_view bytes);

// Decodes the whole file and keeps the text before its first NUL character.
std::u16string DecodeText(std::string_view bytes, const CodePageDecoder& decodeCodePage);

// CR LF is one line break and so is every other CR or LF (LF CR is two); each becomes CR LF.
std::u16string NormalizeLineBreaks(std::u16string_view text);

} // namespace platform
