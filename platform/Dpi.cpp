#include "Dpi.h"

#include <cstdint>
#include <limits>

namespace platform {

int MulDivRound(int value, int numerator, int denominator) {
    if (denominator == 0) return -1;
    // In 64 bits every product fits, and so does the magnitude of INT_MIN as a divisor.
    std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t quotient = (product < 0 ? product - half : product + half) / divisor;
    // MulDiv reports a result that does not fit in 32 bits as -1.
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max()) return -1;
    return static_cast<int>(quotient);
}

int ScaleToDpi(int designValue, int dpi, int designDpi) {
    return MulDivRound(designValue, dpi, designDpi);
}

int FontHeightForDpi(int pointSize, int dpi) {
    return -MulDivRound(pointSize, dpi, 72);
}

int GlyphZoom(int dpi) {
    // 144 DPI (150 %) keeps the 18-pixel glyphs at 1x; 168 DPI (175 %) and up doubles them.
    const int zoom = (dpi + DesignDpi / 4) / DesignDpi;
    return zoom < 1 ? 1 : zoom;
}

} // namespace platform
