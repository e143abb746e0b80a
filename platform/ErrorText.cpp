#include "ErrorText.h"

namespace platform {

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text.push_back(u'.');
    return text;
}

} // namespace platform
