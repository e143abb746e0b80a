// "%s" templates: every window text that names the product holds exactly one "%s".
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Replaces the first "%s" with `argument` and each "%%" with "%"; any other "%" stays as written.
std::u16string FormatS(std::u16string_view pattern, std::u16string_view argument);

} // namespace platform
