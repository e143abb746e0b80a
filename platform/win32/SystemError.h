// The system's own words for a Win32 error code.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// "Access is denied." for ERROR_ACCESS_DENIED; the code in hexadecimal when the system has no text.
std::u16string SystemErrorText(DWORD error);

} // namespace platform
