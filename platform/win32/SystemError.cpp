#include "SystemError.h"

#include "Wide.h"

#include <cstdio>

namespace platform {

std::u16string SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (length != 0 && buffer) {
        text = FromW(buffer, length);
        ::LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
    if (text.empty()) {
        char code[32];
        std::snprintf(code, sizeof code, "Error 0x%08lX", static_cast<unsigned long>(error));
        text.assign(code, code + std::char_traits<char>::length(code));
    }
    return text;
}

} // namespace platform
