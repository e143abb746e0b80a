#include "StringFormat.h"

namespace platform {

std::u16string FormatS(std::u16string_view pattern, std::u16string_view argument) {
    std::u16string out;
    out.reserve(pattern.size() + argument.size());
    bool substituted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == u'%') {
                out.push_back(u'%');
                ++i;
                continue;
            }
            if (pattern[i + 1] == u's' && !substituted) {
                out.append(argument);
                substituted = true;
                ++i;
                continue;
            }
        }
        out.push_back(pattern[i]);
    }
    return out;
}

} // namespace platform
