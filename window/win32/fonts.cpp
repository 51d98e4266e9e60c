#include "window/win32/fonts.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <optional>
#include <string_view>

#include "window/layout.h"
#include "window/win32/dpi.h"

namespace window::win32 {

namespace {

int pixelsOfPoints(double points, UINT dpi) { return static_cast<int>(std::lround(pointsToPixels(points, dpi))); }

void setFace(LOGFONTW& font, std::u16string_view face) {
    const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::copy_n(face.begin(), length, font.lfFaceName);
    font.lfFaceName[length] = L'\0';
}

} // namespace

Measured measure(const LOGFONTW& face) {
    Measured measured{};
    const Owned<HDC, DeleteDC> dc(CreateCompatibleDC(nullptr));
    const Font font = makeFont(face);
    const Selection selected(dc.get(), font.get());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc.get(), &metrics)) measured.lineHeight = metrics.tmHeight;
    GLYPHMETRICS glyph{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    if (GetGlyphOutlineW(dc.get(), L'0', GGO_METRICS, &glyph, 0, nullptr, &identity) != GDI_ERROR)
        measured.digitHeight = static_cast<int>(glyph.gmBlackBoxY);
    return measured;
}

LOGFONTW messageFace(UINT dpi) {
    LOGFONTW font{};
    dpi::messageFont(font, dpi);
    const LONG largest = pixelsOfPoints(kDesignPointSize, dpi);
    if (font.lfHeight == 0 || font.lfHeight < -largest || font.lfHeight > largest) font.lfHeight = -largest;
    if (font.lfFaceName[0] == L'\0') wcscpy(font.lfFaceName, L"MS Shell Dlg 2");
    return font;
}

LOGFONTW titleFace(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -pixelsOfPoints(kTitleFont.pointSize, dpi);
    font.lfWeight = kTitleFont.weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    setFace(font, kTitleFont.family);
    return font;
}

LOGFONTW fieldFace(UINT dpi, int lineRoom) {
    const LOGFONTW message = messageFace(dpi);
    LOGFONTW song = message;
    song.lfCharSet = GB2312_CHARSET;
    setFace(song, u"宋体");
    const int smallestDigit = MulDiv(kSmallestDigitPixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);

    std::optional<LOGFONTW> lineFits;
    for (LOGFONTW face : {message, song}) {
        // From the design size down, one pixel at a time, until the line fits.
        for (LONG height = -pixelsOfPoints(kDesignPointSize, dpi); height < 0; ++height) {
            face.lfHeight = height;
            const Measured measured = measure(face);
            if (measured.lineHeight == 0 || measured.lineHeight > lineRoom) continue;
            if (measured.digitHeight >= smallestDigit) return face;
            if (!lineFits) lineFits = face;
            break; // smaller only shrinks the digits further
        }
    }
    return lineFits.value_or(message);
}

} // namespace window::win32
