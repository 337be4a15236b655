// The class library's drawing classes: CDC over an HDC and the GDI object
// wrappers CGdiObject, CPen, CBrush, CFont, CBitmap and CRgn.
//
// As in the class library, a wrapper deletes the object (or DC) it holds
// when it is destroyed, and FromHandle returns a temporary wrapper that
// belongs to the layer: it must not be deleted and lives until its handle is
// deleted. The window system derives its paint, client and window DCs from
// CDC (they Detach before the CDC destructor runs).
#pragma once

#include "platform/base/types.h"
#include "platform/ui/gdi.h"
#include "platform/ui/rect.h"

class CGdiObject;
// The handle of a wrapper that may be null.
inline HGDIOBJ HandleOf(const CGdiObject* object);

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    static CGdiObject* FromHandle(HGDIOBJ handle);

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
    UINT GetObjectType() const { return ::GetObjectType(m_hObject); }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

    HGDIOBJ m_hObject = nullptr;
};

inline HGDIOBJ HandleOf(const CGdiObject* object) { return object != nullptr ? object->m_hObject : nullptr; }

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* FromHandle(HPEN handle) { return static_cast<CPen*>(CGdiObject::FromHandle(handle)); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    BOOL CreatePenIndirect(const LOGPEN* pen) { return Attach(::CreatePenIndirect(pen)); }
    int GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    static CBrush* FromHandle(HBRUSH handle) { return static_cast<CBrush*>(CGdiObject::FromHandle(handle)); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    int GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }
};

class CFont : public CGdiObject {
public:
    static CFont* FromHandle(HFONT handle) { return static_cast<CFont*>(CGdiObject::FromHandle(handle)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCTSTR face) {
        return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                   charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
    }
    BOOL CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }
    int GetLogFont(LOGFONT* font) const { return GetObject(sizeof(LOGFONT), font); }
};

class CDC;

class CBitmap : public CGdiObject {
public:
    static CBitmap* FromHandle(HBITMAP handle) { return static_cast<CBitmap*>(CGdiObject::FromHandle(handle)); }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
};

class CRgn : public CGdiObject {
public:
    static CRgn* FromHandle(HRGN handle) { return static_cast<CRgn*>(CGdiObject::FromHandle(handle)); }
    BOOL CreateRectRgn(int left, int top, int right, int bottom) {
        return Attach(::CreateRectRgn(left, top, right, bottom));
    }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    void SetRectRgn(int left, int top, int right, int bottom) { ::SetRectRgn(m_hObject, left, top, right, bottom); }
    void SetRectRgn(LPCRECT r) { ::SetRectRgn(m_hObject, r->left, r->top, r->right, r->bottom); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
        return ::CombineRgn(m_hObject, HandleOf(a), HandleOf(b), mode);
    }
    int CopyRgn(const CRgn* source) { return ::CombineRgn(m_hObject, HandleOf(source), nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* other) const { return ::EqualRgn(m_hObject, HandleOf(other)); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn(m_hObject, dx, dy); }
    int OffsetRgn(POINT p) { return ::OffsetRgn(m_hObject, p.x, p.y); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return ::PtInRegion(m_hObject, p.x, p.y); }
    BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion(m_hObject, rect); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox(m_hObject, rect); }
};

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    static CDC* FromHandle(HDC handle);

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC handle);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc != nullptr ? dc->m_hDC : nullptr)); }
    BOOL CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const void* initData) {
        return Attach(::CreateDC(driver, device, output, initData));
    }
    BOOL DeleteDC();
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    // Objects: each returns the object selected before, or null.
    CPen* SelectObject(CPen* pen) { return CPen::FromHandle(SelectHandle(pen)); }
    CBrush* SelectObject(CBrush* brush) { return CBrush::FromHandle(SelectHandle(brush)); }
    CFont* SelectObject(CFont* font) { return CFont::FromHandle(SelectHandle(font)); }
    CBitmap* SelectObject(CBitmap* bitmap) { return CBitmap::FromHandle(SelectHandle(bitmap)); }
    int SelectObject(CRgn* region) { return ::SelectClipRgn(m_hDC, HandleOf(region)); }
    CGdiObject* SelectObject(CGdiObject* object) { return CGdiObject::FromHandle(SelectHandle(object)); }
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    CGdiObject* SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }
    CPen* GetCurrentPen() const { return CPen::FromHandle(::GetCurrentObject(m_hDC, OBJ_PEN)); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle(::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle(::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle(::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

    // Attributes.
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
    UINT GetTextAlign() const { return ::GetTextAlign(m_hDC); }

    // Clipping.
    int SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, HandleOf(region)); }
    int ExcludeClipRect(int left, int top, int right, int bottom) {
        return ::ExcludeClipRect(m_hDC, left, top, right, bottom);
    }
    int ExcludeClipRect(LPCRECT r) { return ::ExcludeClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(int left, int top, int right, int bottom) {
        return ::IntersectClipRect(m_hDC, left, top, right, bottom);
    }
    int IntersectClipRect(LPCRECT r) { return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT p) const { return ::PtVisible(m_hDC, p.x, p.y); }
    BOOL RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }

    // Pixels, blits and fills.
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
    COLORREF SetPixel(POINT p, COLORREF color) { return ::SetPixel(m_hDC, p.x, p.y, color); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return ::GetPixel(m_hDC, p.x, p.y); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, src != nullptr ? src->m_hDC : nullptr, xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, width, height, src != nullptr ? src->m_hDC : nullptr, xSrc, ySrc, srcWidth, srcHeight, rop);
    }
    void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, HandleOf(brush)); }
    void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, HandleOf(brush)); }
    // Leaves the background colour set to `color`, as the class library does.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state) {
        return ::DrawFrameControl(m_hDC, rect, type, state);
    }

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return ::LineTo(m_hDC, p.x, p.y); }
    CPoint GetCurrentPosition() const;
    BOOL Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
    BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int left, int top, int right, int bottom, int width, int height) {
        return ::RoundRect(m_hDC, left, top, right, bottom, width, height);
    }
    BOOL RoundRect(LPCRECT r, POINT corner) {
        return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, corner.x, corner.y);
    }

    // Text.
    int DrawText(LPCTSTR text, int length, LPRECT rect, UINT format) {
        return ::DrawText(m_hDC, text, length, rect, format);
    }
    int DrawText(LPCTSTR text, LPRECT rect, UINT format) { return ::DrawText(m_hDC, text, -1, rect, format); }
    BOOL TextOut(int x, int y, LPCTSTR text, int length) { return ::TextOut(m_hDC, x, y, text, length); }
    BOOL TextOut(int x, int y, LPCTSTR text);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT length, LPINT dx) {
        return ::ExtTextOut(m_hDC, x, y, options, rect, text, length, dx);
    }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, LPINT dx);
    CSize GetTextExtent(LPCTSTR text, int length) const;
    CSize GetTextExtent(LPCTSTR text) const;
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetrics(m_hDC, metrics); }

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;

private:
    HGDIOBJ SelectHandle(const CGdiObject* object) { return ::SelectObject(m_hDC, HandleOf(object)); }
};
