// Font objects, text metrics and single-line text output.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <string_view>

#include "platform/ui/dc.h"
#include "platform/ui/font.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/raster.h"
#include "platform/ui/textrun.h"

namespace {

std::u16string_view TextOf(LPCWSTR text, int length) {
    if (text == nullptr)
        return {};
    if (length < 0)
        return std::u16string_view(text);
    return std::u16string_view(text, static_cast<size_t>(length));
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (font == nullptr)
        return nullptr;
    LOGFONTW copy = *font;
    copy.lfFaceName[LF_FACESIZE - 1] = u'\0';
    return RegisterGdiObject(new FontObject(copy));
}

HFONT CreateFontIndirect(const LOGFONTW* font) { return CreateFontIndirectW(font); }

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR face) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic);
    lf.lfUnderline = static_cast<BYTE>(underline);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face != nullptr) {
        std::u16string_view name(face);
        std::copy_n(name.begin(), std::min<size_t>(name.size(), LF_FACESIZE - 1), lf.lfFaceName);
    }
    return CreateFontIndirectW(&lf);
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCWSTR face) {
    return CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                       outPrecision, clipPrecision, quality, pitchAndFamily, face);
}

BOOL GetTextMetricsW(HDC handle, LPTEXTMETRICW metrics) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr || metrics == nullptr)
        return FALSE;
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    FontFace& face = SelectedFace(*dc);
    const LOGFONTW& lf = reinterpret_cast<FontObject*>(dc->state.font)->font;
    *metrics = TEXTMETRICW{};
    metrics->tmHeight = face.Height();
    metrics->tmAscent = face.Ascent();
    metrics->tmDescent = face.Descent();
    metrics->tmInternalLeading = std::max(0, face.Height() - face.PixelSize());
    metrics->tmAveCharWidth = face.AverageWidth();
    metrics->tmMaxCharWidth = face.MaxWidth();
    metrics->tmWeight = lf.lfWeight != 0 ? lf.lfWeight : FW_NORMAL;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = u' ';
    metrics->tmLastChar = 0xFFFD;
    metrics->tmDefaultChar = u'?';
    metrics->tmBreakChar = u' ';
    metrics->tmItalic = lf.lfItalic;
    metrics->tmUnderlined = lf.lfUnderline;
    metrics->tmStruckOut = lf.lfStrikeOut;
    metrics->tmPitchAndFamily = lf.lfPitchAndFamily;
    metrics->tmCharSet = lf.lfCharSet;
    return TRUE;
}

BOOL GetTextMetrics(HDC dc, LPTEXTMETRICW metrics) { return GetTextMetricsW(dc, metrics); }

BOOL GetTextExtentPoint32W(HDC handle, LPCWSTR text, int length, LPSIZE size) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0))
        return FALSE;
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    FontFace& face = SelectedFace(*dc);
    *size = SIZE{TextWidth(face, TextOf(text, length)), face.Height()};
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int length, LPSIZE size) {
    return GetTextExtentPoint32W(dc, text, length, size);
}
BOOL GetTextExtentPointW(HDC dc, LPCWSTR text, int length, LPSIZE size) {
    return GetTextExtentPoint32W(dc, text, length, size);
}
BOOL GetTextExtentPoint(HDC dc, LPCWSTR text, int length, LPSIZE size) {
    return GetTextExtentPoint32W(dc, text, length, size);
}

int GetTextFaceW(HDC handle, int size, LPWSTR face) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return 0;
    const LOGFONTW& lf = reinterpret_cast<FontObject*>(dc->state.font)->font;
    std::u16string_view name(lf.lfFaceName);
    if (face == nullptr)
        return static_cast<int>(name.size()) + 1;
    if (size <= 0)
        return 0;
    size_t n = std::min<size_t>(name.size(), static_cast<size_t>(size - 1));
    std::copy_n(name.begin(), n, face);
    face[n] = u'\0';
    return static_cast<int>(n);
}

BOOL ExtTextOutW(HDC handle, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length,
                 const INT* dx) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr)
        return FALSE;
    std::optional<RECT> box;
    if (rect != nullptr)
        box = RECT{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
                   std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
    if ((options & ETO_OPAQUE) && box)
        FillRectPixels(*dc, *box, PixelFromColorRef(dc->state.bkColor));
    std::u16string_view run = TextOf(text, text != nullptr ? static_cast<int>(length) : 0);
    if (run.empty())
        return TRUE;
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    FontFace& face = SelectedFace(*dc);
    UINT align = dc->state.textAlign;
    if ((align & TA_BASELINE) == TA_BASELINE)
        y -= face.Ascent();
    else if (align & TA_BOTTOM)
        y -= face.Height();
    if ((align & TA_CENTER) == TA_CENTER)
        x -= TextWidth(face, run) / 2;
    else if (align & TA_RIGHT)
        x -= TextWidth(face, run);
    TextRunOptions runOptions;
    if ((options & ETO_CLIPPED) && box)
        runOptions.clip = box;
    runOptions.fillCell = dc->state.bkMode == OPAQUE && !(options & ETO_OPAQUE);
    runOptions.advances = dx;
    DrawTextRun(*dc, face, x, y, run, runOptions);
    return TRUE;
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length, const INT* dx) {
    return ExtTextOutW(dc, x, y, options, rect, text, length, dx);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
    if (length < 0)
        return FALSE;
    return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int length) { return TextOutW(dc, x, y, text, length); }
