// Arithmetic for drawing a layout designed at 96 pixels per inch at the system's DPI.
#pragma once

namespace platform {

inline constexpr int DesignDpi = 96;

// value * numerator / denominator, rounded half away from zero, as Win32's MulDiv.
int MulDivRound(int value, int numerator, int denominator);

int ScaleToDpi(int designValue, int dpi, int designDpi = DesignDpi);

// Font height in pixels (negative: character height) for a size in points.
int FontHeightForDpi(int pointSize, int dpi);

// Whole-number zoom for pixel-art glyphs: fractional zooms would blur or distort them.
int GlyphZoom(int dpi);

} // namespace platform
