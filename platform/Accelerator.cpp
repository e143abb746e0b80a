#include "Accelerator.h"

namespace platform {

char16_t AcceleratorOf(std::u16string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return caption[i + 1];
        ++i;
    }
    return 0;
}

} // namespace platform
