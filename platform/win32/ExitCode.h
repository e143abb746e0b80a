// The status the process ends with.
#pragma once

namespace platform {

inline int ExitCode = 0;

} // namespace platform
