// Reading a text file whole, as the text a multi-line edit box shows.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Opens the file for reading with other writers denied, decodes it (UTF-16LE or UTF-8 by their
// byte order marks, UTF-8 when well-formed, otherwise the system code page), keeps the text
// before its first NUL and makes every line break CR LF. A missing, locked or unreadable file
// raises "Cannot open file <fileName>".
std::u16string LoadTextFile(std::u16string_view fileName);

// The system code page (CP_ACP) decoder the loader uses.
std::u16string DecodeSystemCodePage(std::string_view bytes);

} // namespace platform
