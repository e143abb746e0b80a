// The text of the standard error box, derived from an error's message.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Appends "." when the last character's code is above that of "." (46), so a message that
// already ends in ".", "'", ")", "!", ",", "-" or a space is shown as it is; "" stays "".
std::u16string ErrorBoxText(std::u16string_view message);

} // namespace platform
