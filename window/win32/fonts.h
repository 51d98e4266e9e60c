// The window's fonts at a given DPI: the message font for captions, the
// title's own, and for the text fields a font chosen by measuring, so that a
// typed line shows whole (descenders, commas and underscores included).
#pragma once

#include <windows.h>

#include <cmath>

#include "window/layout.h"
#include "window/win32/gdi.h"

namespace window::win32 {

// Twips to whole device pixels at `dpi` dots per inch: 15 twips a pixel at 96.
inline int toDevice(int twips, UINT dpi) { return static_cast<int>(std::lround(twipsToPixels(twips, dpi))); }

// A text field's border, in pixels at any DPI: one line, which leaves the
// 18-pixel field (at 96 DPI) 16 pixels for its text.
inline constexpr int kFieldBorder = 1;
// Digits smaller than this, at 96 DPI, are hard to read.
inline constexpr int kSmallestDigitPixels = 8;

// What a font measures on the screen.
struct Measured {
    int lineHeight;  // GetTextMetrics' tmHeight: the line the field must hold
    int digitHeight; // the ink of "0"
};
Measured measure(const LOGFONTW& font);

// The system's message font, no larger than the layout's design size.
LOGFONTW messageFace(UINT dpi);
LOGFONTW titleFace(UINT dpi);
// For text `lineRoom` pixels high: the largest size, up to the design size,
// of the first face (the message font's, then 宋体) whose line fits and whose
// digits stay readable; failing that, the message face's largest size that
// fits the line.
LOGFONTW fieldFace(UINT dpi, int lineRoom);

inline Font makeFont(const LOGFONTW& face) { return Font(CreateFontIndirectW(&face)); }

} // namespace window::win32
