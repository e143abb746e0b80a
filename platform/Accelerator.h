// Keyboard accelerators written into captions as "&x".
#pragma once

#include <string_view>

namespace platform {

// The character after the first single "&" ("&&" is a literal ampersand); 0 when there is none.
char16_t AcceleratorOf(std::u16string_view caption);

} // namespace platform
