// The drawing interface (GDI) of the terminal's window system: DCs, pens,
// brushes, bitmaps, regions, blits, shapes, system colours and text.
// Colours are COLORREF (0x00BBGGRR) as the application passes them.
#pragma once

#include "platform/base/types.h"
#include "platform/ui/gdi_types.h"

// DCs.
HDC CreateCompatibleDC(HDC dc);
// Only the display driver exists: CreateDC(u"DISPLAY", ...) draws on the screen.
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData);
HDC CreateDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* initData);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);
int GetDeviceCaps(HDC dc, int index);

// Objects.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
DWORD GetObjectType(HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
int GetObject(HGDIOBJ object, int size, LPVOID buffer);

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

// Bitmaps are 32 bits per pixel in memory whatever the display asks for;
// new ones are black, and 0 x 0 is a valid size.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Device-independent pixels (1, 4, 8 bits through their colour table, 16,
// 24, 32; bottom-up or top-down) drawn straight into a DC: grey sensor
// images go through an 8-bit grey palette this way.
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);

// Regions and clipping.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, LPRECT rect);
BOOL EqualRgn(HRGN a, HRGN b);
int SelectClipRgn(HDC dc, HRGN region);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, LPRECT rect);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// Attributes.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);

// Pixels, blits and fills.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL DrawFocusRect(HDC dc, const RECT* rect);

// Lines and shapes: outlines with the selected pen, insides with the brush.
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT position);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);

// Window-system drawing helpers.
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);

// Fonts and text.
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontIndirect(const LOGFONTW* font);
// Font files in the device image (device paths); the faces they hold become
// available by name to CreateFont. Returns the number of faces added.
int AddFontResourceW(LPCWSTR path);
int AddFontResource(LPCWSTR path);
BOOL RemoveFontResourceW(LPCWSTR path);
BOOL RemoveFontResource(LPCWSTR path);

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
BOOL GetTextMetrics(HDC dc, LPTEXTMETRICW metrics);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, LPSIZE size);
BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int length, LPSIZE size);
BOOL GetTextExtentPointW(HDC dc, LPCWSTR text, int length, LPSIZE size);
BOOL GetTextExtentPoint(HDC dc, LPCWSTR text, int length, LPSIZE size);
int GetTextFaceW(HDC dc, int size, LPWSTR face);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length, const INT* dx);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length, const INT* dx);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length);
BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int length);
// `length` -1 means up to the terminating zero. Returns the text height.
int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format);
int DrawText(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format);
