#include "Dpi.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace platform {
namespace {

struct MulDivCase {
    int value, numerator, denominator;
    int expected;
};

TEST(DpiTest, MulDivRoundsHalfAwayFromZeroLikeWin32) {
    const MulDivCase cases[] = {
        {10, 3, 2, 15},
        {5, 1, 2, 3},
        {-5, 1, 2, -3},
        {5, -1, 2, -3},
        {5, 1, -2, -3},
        {-5, -1, 2, 3},
        {-5, 1, -2, 3},
        {7, 1, 3, 2},
        {8, 1, 3, 3},
        {-7, 1, 3, -2},
        {-8, 1, 3, -3},
        {0, 5, 7, 0},
        {1, 1, 3, 0},
        // The product is formed in 64 bits.
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {-INT_MAX, INT_MAX, INT_MAX, -INT_MAX},
        {1, 1, INT_MIN, 0},
        {INT_MIN, 1, INT_MIN, 1},
        {INT_MIN, 2, INT_MIN, 2},
        // Win32 reports a zero divisor and a result beyond 32 bits as -1.
        {1, 1, 0, -1},
        {0, 0, 0, -1},
        {INT_MAX, 2, 1, -1},
        {INT_MAX, -2, 1, -1},
        {INT_MIN, -1, 1, -1},
        {INT_MIN, 1, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " * " + std::to_string(c.numerator) + " / " +
                     std::to_string(c.denominator));
        EXPECT_EQ(MulDivRound(c.value, c.numerator, c.denominator), c.expected);
    }
}

struct ScaleCase {
    int value, dpi, designDpi;
    int expected;
};

TEST(DpiTest, ScalesDesignPixelsToTheSystemDpi) {
    const ScaleCase cases[] = {
        {8, 144, DesignDpi, 12},
        {345, 144, DesignDpi, 518},  // 517.5
        {345, 96, DesignDpi, 345},
        {366, 120, DesignDpi, 458},  // 457.5
        {219, 168, DesignDpi, 383},  // 383.25
        {-11, 144, DesignDpi, -17},  // -16.5
        {-11, 120, DesignDpi, -14},  // -13.75
        {0, 288, DesignDpi, 0},
        {12, 96, 144, 8},
        {25, 192, 120, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " at " + std::to_string(c.dpi) + " from " +
                     std::to_string(c.designDpi));
        EXPECT_EQ(ScaleToDpi(c.value, c.dpi, c.designDpi), c.expected);
    }
    EXPECT_EQ(ScaleToDpi(345, 144), 518);
}

struct DpiCase {
    int pointSize, dpi;
    int expected;
};

TEST(DpiTest, FontHeightIsTheNegativeCharacterHeightInPixels) {
    const DpiCase cases[] = {
        {8, 96, -11},   // 10.67
        {8, 120, -13},  // 13.33
        {8, 144, -16},
        {8, 168, -19},  // 18.67
        {8, 192, -21},  // 21.33
        {10, 96, -13},
        {9, 96, -12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pointSize) + " pt at " + std::to_string(c.dpi));
        EXPECT_EQ(FontHeightForDpi(c.pointSize, c.dpi), c.expected);
    }
}

TEST(DpiTest, GlyphZoomIsWholeAndDoublesFrom175Percent) {
    const struct {
        int dpi;
        int expected;
    } cases[] = {
        {72, 1}, {96, 1}, {120, 1}, {144, 1}, {167, 1}, {168, 2}, {192, 2}, {288, 3}, {384, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(GlyphZoom(c.dpi), c.expected);
    }
}

} // namespace
} // namespace platform
